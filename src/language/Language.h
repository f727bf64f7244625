#pragma once

// own
#include "NoteNames.h"

// Qt
#include <QString>

namespace tonarika {

// The languages both programs are shown in: their own Japanese, or English.
enum class Language { Japanese, English };

// Shows the programs' texts and Qt's own (its dialogs' buttons, its context menus) in
// `language` from now on: every widget is sent a language change. The Japanese texts are
// the programs' own; Qt's Japanese and the programs' English are loaded. False where a
// translation could not be loaded; the texts then stay in their source language.
bool useLanguage(Language language);
Language languageInUse();

// `text` of `context` in `language`, looked up without the application object that
// useLanguage needs: for what a program says before it has one (its --help).
QString textIn(Language language, const char* context, const char* text);

// The names as a language shows them: kana only where it is written in kana.
NoteNaming namingIn(Language language, NoteNaming naming);

}  // namespace tonarika
