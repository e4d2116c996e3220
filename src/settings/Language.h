#pragma once
#include <QString>

class TfrmMain;

// The user's locale as a Windows locale identifier (1033 for a C or POSIX locale).
int UserDefaultLCID();
// The language file for this run: "Language_<lcid>.ini" beside the executable when that is a
// file, else "Language.ini" (whether or not it exists). Chosen on first use.
QString LanguageFilePath();
// The text of key in section of the language file, or fallback when it is missing.
QString LangText(const QString& section, const QString& key, const QString& fallback);
// Application title, window caption, menu captions, the clear question, the export filter.
void ApplyMainWindowTexts(TfrmMain& form);
