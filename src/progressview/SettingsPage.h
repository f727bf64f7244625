#pragma once

// own
#include "QuestionSettings.h"

// Qt
#include <QString>
#include <QWidget>

// std
#include <array>

class QCheckBox;
class QLabel;
class QRadioButton;

namespace tonarika {

// What the game asks, chosen here and written to the settings file the game reads: the
// timbres (at least one), one octave or three, whether the guard's tones and leaps keep
// the previous note from helping, and whether the notes the player misses come more often. Each change is written at once, whole.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(QString file, QWidget* parent = nullptr);

    QuestionSettings chosen() const;

signals:
    // The file holds the page's choices, or could not be written (`error`).
    void written(const QString& error);

private:
    void show(const QuestionSettings& settings);
    void write();

    QString m_file;
    std::array<QCheckBox*, kTimbreCount> m_timbres{};
    QRadioButton* m_oneOctave = nullptr;
    QRadioButton* m_threeOctaves = nullptr;
    QCheckBox* m_guard = nullptr;
    QCheckBox* m_weakNotes = nullptr;
    QLabel* m_status = nullptr;
};

}  // namespace tonarika
