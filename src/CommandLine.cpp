#include "CommandLine.h"

// own
#include "Version.h"

// Qt
#include <QCommandLineParser>

// std
#include <cstdio>

namespace tonarika {

namespace {

// The options QGuiApplication and QApplication take for themselves, with or without a
// value: they are Qt's to read, and no error here.
const QStringList kQtOptionsWithValue{
    QStringLiteral("platform"),   QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),     QStringLiteral("qmljsdebugger"),      QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"),      QStringLiteral("session"),
    QStringLiteral("display"),    QStringLiteral("geometry"),           QStringLiteral("name"),
    QStringLiteral("title"),      QStringLiteral("visual"),             QStringLiteral("ncols"),
    QStringLiteral("cmap"),       QStringLiteral("im"),                 QStringLiteral("inputstyle"),
    QStringLiteral("style"),      QStringLiteral("stylesheet"),
};
const QStringList kQtFlags{QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                           QStringLiteral("dograb"), QStringLiteral("sync")};

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

std::optional<int> answerCommandLine(int argc, char** argv, const QString& program, const QString& description,
                                     CommandLineChoice* choice, ProgramOptions options, Language language)
{
    const auto said = [language](const char* text) { return textIn(language, "CommandLine", text); };
    QCommandLineParser parser;
    // Qt's options have one dash: "-platform" is one option, not eight.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(description);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption test(QStringLiteral("test"),
                                  said(QT_TRANSLATE_NOOP("CommandLine", "絶対音感テスト: 72 の音に答え、研究と同じ採点で結果を見る")));
    const QCommandLineOption remind(QStringLiteral("remind"),
                                    said(QT_TRANSLATE_NOOP("CommandLine", "今日の練習がまだなら、設定の時刻にデスクトップの通知で知らせる")));
    const QCommandLineOption now(QStringLiteral("now"),
                                 said(QT_TRANSLATE_NOOP("CommandLine", "--remind と一緒に: 時刻を待たずにすぐ知らせる")));
    const QCommandLineOption hard(QStringLiteral("hard"), said(QT_TRANSLATE_NOOP("CommandLine", "Hard で始める")));
    const QCommandLineOption sing(QStringLiteral("sing"),
                                  said(QT_TRANSLATE_NOOP("CommandLine", "声で出す練習: 名前の音を、手がかりなしに歌って答える")));
    const QCommandLineOption settings(QStringLiteral("settings"), said(QT_TRANSLATE_NOOP("CommandLine", "練習の設定のページを開く")));
    if (choice && options == ProgramOptions::PitchTest) {
        parser.addOption(test);
        parser.addOption(hard);
        parser.addOption(sing);
    }
    if (choice && options == ProgramOptions::Reminder) {
        parser.addOption(remind);
        parser.addOption(now);
        parser.addOption(settings);
    }
    for (const QString& name : kQtOptionsWithValue) {
        QCommandLineOption option(name, QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const QString& name : kQtFlags) {
        QCommandLineOption option(name);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Without an application object the parser does not know the program's name.
    const QString helpText = parser.helpText().replace(QStringLiteral("<executable_name>"), program);
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.errorText().isEmpty()
            ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().value(0))
            : parser.errorText();
        print(stderr, program + QStringLiteral(": ") + error + u'\n' + helpText);
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, helpText);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, program + u' ' + QStringLiteral(TONARIKA_VERSION) + u'\n');
        return 0;
    }
    if (choice && options == ProgramOptions::Reminder && parser.isSet(now) && !parser.isSet(remind)) {
        print(stderr, program + QStringLiteral(": --now is given only with --remind\n") + helpText);
        return 2;
    }
    if (choice) {
        choice->pitchTest = options == ProgramOptions::PitchTest && parser.isSet(test);
        choice->remind = options == ProgramOptions::Reminder && parser.isSet(remind);
        choice->now = options == ProgramOptions::Reminder && parser.isSet(now);
        choice->hard = options == ProgramOptions::PitchTest && parser.isSet(hard);
        choice->sing = options == ProgramOptions::PitchTest && parser.isSet(sing);
        choice->settings = options == ProgramOptions::Reminder && parser.isSet(settings);
    }
    return std::nullopt;
}

}  // namespace tonarika
