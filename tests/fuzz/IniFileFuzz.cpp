#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "ScratchFile.h"
#include "settings/IniFile.h"

using namespace slatewick;

namespace {

constexpr int kCodePages[] = {932, 1252, 936, 949, 950, 1251, 1250, 874};

// Names looked up in every file; the first six are also written.
const std::pair<QStringView, QStringView> kNames[] = {
    {u"Opt", u"Yogore"},
    {u"opt", u"SHOWKONA"},
    {u"MainMenu", u"Load"},
    {u"S", u"K"},
    {u"a b", u"c d"},
    {u"General", u"name"},
    {u"", u""},
    {u"日本語", u"キー"},
    {u" Opt ", u"\tYogore"},
    {u"Opt]", u"Yogore="},
};
constexpr std::size_t kWritable = 6;

}  // namespace

// An INI file of any bytes, read and written through IniFile. The first byte chooses the ANSI
// code page (bits 0-2) and what is written (bits 3-4: nothing, "1", "0", or "1" then "0"); the
// second byte chooses the section and key written; the rest is the file, whose encoding
// (UTF-16LE, UTF-8 or the code page) IniFile tells from its bytes. Every name is read as text,
// as an integer and as a boolean; a value written reads back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFile file("settings.ini");
  if (size < 2) return 0;
  const int codePage = kCodePages[data[0] & 7];
  const int writes = (data[0] >> 3) & 3;
  const auto& [section, key] = kNames[data[1] % kWritable];
  file.Write(data + 2, size - 2);

  IniFile ini(file.Path(), codePage);
  for (const auto& [s, k] : kNames) {
    IniToInt(ini.ReadString(s, k, QStringLiteral("fallback")));
    ini.ReadBool(s, k, true);
  }
  for (int i = 0; i < 2; ++i) {
    const bool write = i == 0 ? writes != 0 : writes == 3;
    const bool value = i == 0 ? writes != 2 : false;
    if (write && ini.WriteBool(section, key, value) &&
        IniFile(file.Path(), codePage).ReadBool(section, key, !value) != value)
      std::abort();
  }
  return 0;
}
