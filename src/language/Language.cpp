#include "Language.h"

// Qt
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

namespace tonarika {

namespace {

Q_LOGGING_CATEGORY(lcLanguage, "tonarika.language", QtWarningMsg)

Language inUse = Language::Japanese;

// Live as long as the program: the application keeps only pointers.
QTranslator& ownTexts()
{
    static QTranslator translator;
    return translator;
}

QTranslator& qtTexts()
{
    static QTranslator translator;
    return translator;
}

const QString kEnglish = QStringLiteral(":/i18n/tonarika_en.qm");

bool install(QTranslator& translator, bool loaded, const QString& what)
{
    if (!loaded) {
        qCWarning(lcLanguage, "%s could not be loaded: its texts stay as written", qUtf8Printable(what));
        return false;
    }
    return QCoreApplication::installTranslator(&translator);
}

}  // namespace

bool useLanguage(Language language)
{
    inUse = language;
    QCoreApplication::removeTranslator(&ownTexts());
    QCoreApplication::removeTranslator(&qtTexts());
    if (language == Language::English) {
        // Qt's own texts are English as written.
        return install(ownTexts(), ownTexts().load(kEnglish), kEnglish);
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    return install(qtTexts(),
                   qtTexts().load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"), folder),
                   folder + QStringLiteral("/qtbase_ja.qm"));
}

QString textIn(Language language, const char* context, const char* text)
{
    if (language == Language::English) {
        static QTranslator english;
        static const bool loaded = english.load(kEnglish);
        if (const QString translated = loaded ? english.translate(context, text) : QString(); !translated.isEmpty())
            return translated;
    }
    return QString::fromUtf8(text);
}

Language languageInUse()
{
    return inUse;
}

NoteNaming namingIn(Language language, NoteNaming naming)
{
    naming.latin = language != Language::Japanese;
    return naming;
}

}  // namespace tonarika
