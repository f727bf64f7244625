#include "NoteTables.h"

// own
#include "Progress.h"

// Qt
#include <QCoreApplication>
#include <QHeaderView>
#include <QLocale>
#include <QTableWidget>

// std
#include <algorithm>
#include <cmath>

namespace tonarika {

namespace {

// Right answers green, wrong ones red: two families apart at a glance, and apart for the
// commonest colour blindness by their lightness too.
const QColor kRightColour(0x1E, 0x7B, 0x34);
const QColor kWrongColour(0xC6, 0x28, 0x28);

// A share's colour: white for none, the full colour for all of a row.
QColor shareColour(const QColor& full, double share)
{
    const auto mix = [share](int value) { return int(255 - (255 - value) * share); };
    return QColor(mix(full.red()), mix(full.green()), mix(full.blue()));
}

// A cell that sorts by the number it holds for sorting, not by its text.
class SortItem : public QTableWidgetItem {
public:
    bool operator<(const QTableWidgetItem& other) const override
    {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

}  // namespace

QTableWidget* makeNoteTable(const QString& name, const QString& accessibleName, int rows, int columns)
{
    auto* table = new QTableWidget(rows, columns);
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // As large as all its cells: the page scrolls, not the table.
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            table->setItem(row, column, new SortItem);
    }
    return table;
}

void fillNoteTable(QTableWidget& table, const NoteStatistics& period, const LearnedState& learned, int notes,
                   bool sayMode)
{
    // Filled in keyboard order, then sorted again by the column chosen.
    table.setSortingEnabled(false);
    int shown = 0;
    for (int place = 0; place < kNoteCount; ++place) {
        const int index = kKeyboardOrder[size_t(place)];
        const NoteFigures& note = period.notes[size_t(index)];
        const NoteFigures& state = learned.statistics.notes[size_t(index)];
        const bool inMode = index < notes;
        const auto mode = learned.modeOf[size_t(index)];
        const QString which = sayMode && mode ? QCoreApplication::translate("NoteTables", "（%1）").arg(gameText(modeName(*mode))) : QString();
        const QString standing = state.learned ? QCoreApplication::translate("NoteTables", "覚えた") : inMode ? learnedDistance(state) : QString();
        const struct {
            QString text;
            double key;
        } cells[] = {
            {noteText(index), double(place)},
            {QString::number(note.questions), double(note.questions)},
            {percentText(note.rightRate), note.rightRate.value_or(-1.0)},
            {secondsText(note.medianMs), note.medianMs.value_or(1e12)},
            {standing.isEmpty() ? standing : standing + which,
             state.learned ? 1e6 : double(std::min(state.questions, kLearnedQuestions) * 100 + state.lastRight)},
            {QString::number(note.timbres), double(note.timbres)},
            {QString::number(note.octaves), double(note.octaves)},
        };
        for (int column = 0; column < int(std::size(cells)); ++column) {
            QTableWidgetItem* item = table.item(shown, column);
            item->setText(cells[column].text);
            item->setData(Qt::UserRole, cells[column].key);
            item->setToolTip(column == 4 ? learnedRule() : QString());
        }
        ++shown;
    }
    table.setSortingEnabled(true);
}

void fillConfusionTable(QTableWidget& table, const NoteStatistics& statistics)
{
    for (int row = 0; row < kNoteCount; ++row) {
        const int asked = kKeyboardOrder[size_t(row)];
        const auto& answers = statistics.confusion[size_t(asked)];
        int total = 0;
        for (const int count : answers)
            total += count;
        for (int column = 0; column < kNoteCount; ++column) {
            const int answered = kKeyboardOrder[size_t(column)];
            const int count = answers[size_t(answered)];
            const double share = total > 0 ? double(count) / total : 0.0;
            const int percent = int(std::lround(share * 100));
            QTableWidgetItem* cell = table.item(row, column);
            cell->setText(count > 0 ? QStringLiteral("%1\n%2 %").arg(count).arg(percent) : QString());
            cell->setTextAlignment(Qt::AlignCenter);
            const bool right = asked == answered;
            cell->setBackground(shareColour(right ? kRightColour : kWrongColour, share));
            cell->setForeground(share > 0.5 ? QColor(Qt::white) : QColor(Qt::black));
            // What a screen reader reads of the cell, the empty ones too.
            cell->setData(Qt::AccessibleTextRole, QCoreApplication::translate("NoteTables", "出題 %1、答え %2%3: %4 回 (%5 %)")
                                                      .arg(noteText(asked), noteText(answered),
                                                           right ? QCoreApplication::translate("NoteTables", "（正解）") : QString())
                                                      .arg(count)
                                                      .arg(percent));
        }
    }
    // Columns of one width, so that the colours compare at a glance.
    table.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table.resizeColumnsToContents();
    int widest = 0;
    for (int column = 0; column < kNoteCount; ++column)
        widest = std::max(widest, table.columnWidth(column));
    for (int column = 0; column < kNoteCount; ++column)
        table.setColumnWidth(column, widest);
}

}  // namespace tonarika
