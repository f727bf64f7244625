#pragma once

// own
#include "NoteStatistics.h"

// Qt
#include <QString>

class QTableWidget;

namespace tonarika {

// A table of the notes page: every cell made, sorting by the number it holds rather than by
// its text, as large as its cells so that the page scrolls rather than the table.
QTableWidget* makeNoteTable(const QString& name, const QString& accessibleName, int rows, int columns);
// Each note's figures for the period, and how far it is from learned by every answer in the
// mode, in keyboard order (the first `notes` of the mode), then sorted by the column chosen.
// `learned`: where each note stands, and in which mode, said in its cell where `sayMode`.
void fillNoteTable(QTableWidget& table, const NoteStatistics& period, const LearnedState& learned, int notes,
                   bool sayMode);
// Which note was taken for which: the notes asked by row, the answers by column, each cell
// coloured by its share of its row, right answers green and wrong ones red.
void fillConfusionTable(QTableWidget& table, const NoteStatistics& statistics);

}  // namespace tonarika
