#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "ScratchFile.h"
#include "settings/IniFile.h"

using namespace slatewick;

namespace {

constexpr int kCodePages[] = {932,  1252, 936,  949,  950,  1251, 1250, 874,
                              1253, 1255, 1257, 1254, 1256, 1258, 932,  1252};

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

// Texts that every encoding holds, and some that the rules do not.
const QStringView kAscii[] = {u"1",        u"0", u"",     u"on", u"a b", u"x\x1Ay",
                              u"\x1C\x7F", u"=", u"[S]",  u";c", u"'q",  u"q\"",
                              u"\x01\x1F", u" ", u"\"\"", u"$7F"};

const QString kMissing = QStringLiteral("<missing>");

// Whether a value comes back as written: no NUL or line break, no blank at either end, not in
// one pair of matching quotes, not too long; in an 8-bit file, ASCII unless the value is the
// key's own (which its line's encoding holds).
bool Holdable(QStringView value, bool own) {
  for (QChar c : value)
    if (c == u'\0' || c == u'\r' || c == u'\n' || (!own && c.unicode() >= 0x80)) return false;
  const auto blank = [](QChar c) {
    return c == u' ' || c == u'\x1A' || (c >= u'\t' && c <= u'\r');
  };
  if (!value.isEmpty() && (blank(value.front()) || blank(value.back()))) return false;
  if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0])
    return false;
  return value.size() <= IniFile::MaxValueLength;
}

// After a write of value to (section, key): the value reads back when the rules hold it, and
// every other name reads as before.
void CheckWrite(const QString& path, int codePage, std::size_t written, QStringView value,
                bool holdable, const QStringList& before) {
  const IniFile ini(path, codePage);
  const auto& [section, key] = kNames[written];
  if (holdable && ini.ReadString(section, key, kMissing) != value) std::abort();
  for (std::size_t i = 0; i < std::size(kNames); ++i) {
    const bool same = kNames[i].first.compare(section, Qt::CaseInsensitive) == 0 &&
                      kNames[i].second.compare(key, Qt::CaseInsensitive) == 0;
    if (!same && ini.ReadString(kNames[i].first, kNames[i].second, kMissing) != before[i])
      std::abort();
  }
}

QStringList ReadAll(const IniFile& ini) {
  QStringList texts;
  for (const auto& [section, key] : kNames) texts << ini.ReadString(section, key, kMissing);
  return texts;
}

}  // namespace

// An INI file of any bytes, read and written through IniFile. The first byte chooses the ANSI
// code page (bits 0-2, and bit 5 for the second half of the list), the booleans written (bits
// 3-4: nothing, "1", "0", or "1" then "0") and a text written after them (bits 6-7: nothing, the
// key's own value, another name's value, or one of kAscii); the second byte chooses the section
// and key written (mod 6) and the other name or text (div 6); the rest is the file, whose
// encoding (UTF-16LE, or UTF-8 / the code page line by line) IniFile tells from its bytes. Every
// name is read as text, as an integer and as a boolean; a value written reads back when the rules
// hold it, and no other name reads otherwise after a write.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFile file("settings.ini");
  if (size < 2) return 0;
  const int codePage = kCodePages[(data[0] & 7) | (data[0] >> 2 & 8)];
  const int writes = (data[0] >> 3) & 3;
  const int text = data[0] >> 6;
  const std::size_t written = data[1] % kWritable, other = data[1] / kWritable;
  const auto& [section, key] = kNames[written];
  file.Write(data + 2, size - 2);

  IniFile ini(file.Path(), codePage);
  for (const auto& [s, k] : kNames) {
    IniToInt(ini.ReadString(s, k, QStringLiteral("fallback")));
    ini.ReadBool(s, k, true);
  }
  for (int i = 0; i < 2; ++i) {
    const bool write = i == 0 ? writes != 0 : writes == 3;
    const bool value = i == 0 ? writes != 2 : false;
    const QStringList before = ReadAll(ini);
    if (write && ini.WriteBool(section, key, value))
      CheckWrite(file.Path(), codePage, written, value ? u"1" : u"0", true, before);
  }
  if (text == 0) return 0;
  const QStringList before = ReadAll(ini);
  const QString value = text == 1   ? before[written]
                        : text == 2 ? before[other % std::size(kNames)]
                                    : kAscii[other % std::size(kAscii)].toString();
  if (value == kMissing) return 0;
  if (ini.WriteString(section, key, value))
    CheckWrite(file.Path(), codePage, written, value, Holdable(value, text == 1), before);
  return 0;
}
