#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ScratchFile.h"
#include "settings/Language.h"

using namespace slatewick;

// A locale name and a language file. The input up to its first line feed is the locale name
// (taken as a C string), turned into a locale identifier and its ANSI code page; the rest is the
// language file, read in that code page: every text of the program, and one by name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFile file("Language.ini");
  const std::uint8_t* end = data + size;
  const std::uint8_t* newline = std::find(data, end, std::uint8_t('\n'));
  const std::string locale(data, newline);
  const int lcid = LCIDFromLocale(locale.c_str());
  const int codePage = AnsiCodePage(lcid);
  if (lcid <= 0 || codePage <= 0) std::abort();
  PinUserLocaleNumber(lcid);
  const std::uint8_t* text = newline == end ? end : newline + 1;
  file.Write(text, std::size_t(end - text));
  SetLanguageFilePath(file.Path());
  const LanguageFile language;
  for (const TextKey& key : Texts::All()) language.Text(key);
  LangText(QStringLiteral("MainMessage"), QStringLiteral("Clear"), QStringLiteral("fallback"));
  return 0;
}
