#pragma once
#include <QString>
#include <QStringView>

#include "settings/IniFile.h"
#include "settings/LanguageTexts.h"

namespace slatewick {

// The user's locale as a Windows locale identifier, from ICU's default locale (see
// LCIDFromLocale), unless a test has set one.
int UserLocaleNumber();
// Tests: use lcid as the user's locale from now on; 0 asks ICU again.
void PinUserLocaleNumber(int lcid);
// The Windows locale identifier of an ICU locale name of any length and content: a C or POSIX
// locale, or a name without a language, counts as 1033 (en-US); a language alone, or one whose
// other parts ICU cannot place, takes its likely country (ja -> 1041); a locale that Windows
// does not number gives 4096 (LOCALE_CUSTOM_UNSPECIFIED), as Windows itself reports.
int LCIDFromLocale(const char* icuLocale);
// The Windows ANSI code page of a locale (932 for 1041, 936, 949, 950, 874, 1250..1258),
// 1252 for the rest. Lines of INI files that are not UTF-8 are read in the user's one.
int AnsiCodePage(int lcid);

// The language file for this run: "Language_<lcid>.ini" in the language folder (Places) when
// that is a file (a folder does not count), else "Language.ini" (whether or not it exists).
// Chosen anew at each call.
QString LanguageFilePath();
// Tests: use path as the language file from now on; an empty path chooses by the locale again.
void SetLanguageFilePath(const QString& path);

// The language file, chosen and read once, for a reader that looks up several texts.
class LanguageFile {
 public:
  LanguageFile();
  QString Text(const TextKey& text) const;
  QString Text(QStringView section, QStringView key, const QString& fallback) const;

 private:
  IniFile ini_;
};

// The text of key in section of the language file, or fallback when it is missing.
QString LangText(const QString& section, const QString& key, const QString& fallback);
// The text from the language file, or its built-in text when the file lacks the key.
QString LangText(const TextKey& text);

// The export's file filter as QFileDialog takes it: entries separated by ";;", each a
// description with its pattern in parentheses at the end:
// "<bmpText> (*.bmp);;<jpgText> (*.jpg);;<pngText> (*.png);;すべてのファイル (*.*)".
QString ExportFilter(const QString& bmpText, const QString& jpgText, const QString& pngText);

}  // namespace slatewick
