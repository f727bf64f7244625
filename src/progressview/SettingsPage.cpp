#include "SettingsPage.h"

// own
#include "SettingsFile.h"

// Qt
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tonarika {

SettingsPage::SettingsPage(QString file, QWidget* parent)
    : QWidget(parent)
    , m_file(std::move(file))
{
    auto* timbres = new QGroupBox(QStringLiteral("音色"));
    timbres->setObjectName(QStringLiteral("timbres"));
    auto* timbreLayout = new QVBoxLayout(timbres);
    for (const auto& row : kTimbreTable) {
        auto* box = new QCheckBox(QString::fromUtf8(row.name.data(), qsizetype(row.name.size())));
        box->setObjectName(QStringLiteral("timbre_") + QString::fromUtf8(row.key.data(), qsizetype(row.key.size())));
        box->setAccessibleName(box->text());
        timbreLayout->addWidget(box);
        m_timbres[std::size_t(row.timbre)] = box;
    }

    auto* octaves = new QGroupBox(QStringLiteral("音域"));
    octaves->setObjectName(QStringLiteral("octaves"));
    auto* octaveLayout = new QVBoxLayout(octaves);
    m_oneOctave = new QRadioButton(QStringLiteral("1 オクターブ（ド4〜シ4）"));
    m_oneOctave->setObjectName(QStringLiteral("oneOctave"));
    m_threeOctaves = new QRadioButton(QStringLiteral("3 オクターブ（ド3〜シ5）"));
    m_threeOctaves->setObjectName(QStringLiteral("threeOctaves"));
    for (QRadioButton* button : {m_oneOctave, m_threeOctaves}) {
        button->setAccessibleName(button->text());
        octaveLayout->addWidget(button);
    }

    m_guard = new QCheckBox(QStringLiteral("前の音を手がかりにしない"));
    m_guard->setObjectName(QStringLiteral("guard"));
    m_guard->setAccessibleName(m_guard->text());
    m_weakNotes = new QCheckBox(QStringLiteral("苦手な音を多めに"));
    m_weakNotes->setObjectName(QStringLiteral("weakNotes"));
    m_weakNotes->setAccessibleName(m_weakNotes->text());

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("settingsStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(timbres);
    layout->addWidget(octaves);
    layout->addWidget(m_guard);
    layout->addWidget(m_weakNotes);
    layout->addWidget(m_status);
    layout->addStretch(1);

    const SettingsReading reading = readSettingsFile(m_file);
    show(reading.settings);
    if (!reading.problems.isEmpty())
        m_status->setText(QStringLiteral("設定ファイルの一部を読めなかったため、既定の値を表示しています。\n%1")
                              .arg(reading.problems.join(u'\n')));

    for (QCheckBox* box : m_timbres)
        connect(box, &QCheckBox::toggled, this, &SettingsPage::write);
    connect(m_threeOctaves, &QRadioButton::toggled, this, &SettingsPage::write);
    connect(m_guard, &QCheckBox::toggled, this, &SettingsPage::write);
    connect(m_weakNotes, &QCheckBox::toggled, this, &SettingsPage::write);
}

void SettingsPage::show(const QuestionSettings& settings)
{
    for (std::size_t index = 0; index < m_timbres.size(); ++index) {
        const QSignalBlocker quiet(m_timbres[index]);
        m_timbres[index]->setChecked(std::find(settings.timbres.begin(), settings.timbres.end(), Timbre(index))
                                     != settings.timbres.end());
    }
    const QSignalBlocker quietOne(m_oneOctave), quietThree(m_threeOctaves), quietGuard(m_guard),
        quietWeak(m_weakNotes);
    m_oneOctave->setChecked(!settings.threeOctaves);
    m_threeOctaves->setChecked(settings.threeOctaves);
    m_guard->setChecked(settings.guard);
    m_weakNotes->setChecked(settings.weakNotes);
}

QuestionSettings SettingsPage::chosen() const
{
    QuestionSettings settings;
    settings.timbres.clear();
    for (std::size_t index = 0; index < m_timbres.size(); ++index) {
        if (m_timbres[index]->isChecked())
            settings.timbres.push_back(Timbre(index));
    }
    settings.threeOctaves = m_threeOctaves->isChecked();
    settings.guard = m_guard->isChecked();
    settings.weakNotes = m_weakNotes->isChecked();
    return settings;
}

void SettingsPage::write()
{
    // At least one timbre: the last one stays checked, and the one checked alone cannot be
    // unchecked.
    QuestionSettings settings = chosen();
    if (settings.timbres.empty()) {
        for (QCheckBox* box : m_timbres) {
            if (box == sender()) {
                const QSignalBlocker quiet(box);
                box->setChecked(true);
            }
        }
        settings = chosen();
        m_status->setText(QStringLiteral("音色は少なくとも1つ選んでください。"));
        return;
    }
    const QString error = writeSettingsFile(m_file, settings);
    m_status->setText(error.isEmpty() ? QStringLiteral("保存しました。次の問題から使われます。")
                                      : QStringLiteral("設定を保存できませんでした: %1").arg(error));
    emit written(error);
}

}  // namespace tonarika
