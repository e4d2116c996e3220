#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

#include "settings/CodePage.h"

struct UConverter;  // ICU's converter

namespace slatewick {

// An INI text file read and written by the rules of the Windows private-profile functions:
// - sections ("[name]") and keys ("key=value") match without regard to letter case; the first
//   section of a name and the first key of a name in it count;
// - a NUL ends a section name, a key name or a value, as in a C string; the blanks around each
//   (tab, LF, VT, FF, CR, space and ^Z, nothing else) are dropped; a value in one pair of
//   matching quotes (single or double) loses them; a value is cut after 2047 UTF-16 units;
// - a key present with an empty value gives the empty text; a missing file, section or key the
//   default; lines beginning with ";" are comments.
// Encodings: a file beginning with FF FE is UTF-16LE. Any other file is 8-bit (an EF BB BF mark
// at its start is skipped), and each of its lines reads as UTF-8 when it is valid UTF-8, else in
// the Windows ANSI code page given at opening, as Windows reads it (see CodePage). CR LF, LF and
// CR all end a line.
// Opening reads the file once and never creates it. Writing re-reads the file, changes only the
// bytes of the one key's value (or inserts one line, or appends one section), keeps the file's
// line ends and replaces the file atomically where its folder allows that, else rewrites it in
// place (see ReplaceOrRewriteFile); a failed write leaves the file as it was. A write keeps the
// encoding as read, so it never changes how another line reads: UTF-16LE stays UTF-16LE; in an
// 8-bit file a value goes into its line in the encoding that line was read in, and a new line in
// the code page when some line of the file reads in it, else in UTF-8 (as a new file), except
// that text whose code-page bytes would make its line valid UTF-8, and so read as UTF-8, goes in
// UTF-8.
// Files larger than MaxFileSize count as unreadable: reads give defaults and writes fail.
class IniFile {
 public:
  static constexpr qsizetype MaxFileSize = 8 * 1024 * 1024;  // bytes
  static constexpr qsizetype MaxValueLength = 2047;          // UTF-16 units

  IniFile(QString path, int ansiCodePage);

  const QString& Path() const { return path_; }
  QString ReadString(QStringView section, QStringView key, const QString& fallback) const;
  // The value as an integer (see IniToInt): on when non-zero; the fallback when the key is
  // missing, empty or not an integer.
  bool ReadBool(QStringView section, QStringView key, bool fallback) const;
  // Writes "1" or "0" through to the file before returning; false when it cannot be written
  // (the file is then as it was).
  bool WriteBool(QStringView section, QStringView key, bool value);
  // Writes value, up to its first NUL, CR or LF, as the key's value, as WriteBool does. It reads
  // back as written when it has no blank at either end, is not enclosed in one pair of matching
  // quotes, has at most MaxValueLength units and, where it goes in the code page, only characters
  // of that page (the others become "?").
  bool WriteString(QStringView section, QStringView key, QStringView value);

 private:
  enum class Encoding { EightBit, Utf16Le };
  struct Line {
    qsizetype begin = 0, end = 0, next = 0;  // bytes: content, its end, start of the next line
    QString text;                            // blanks around it dropped; never empty
    bool utf8 = true;                        // an 8-bit line read as UTF-8, not in the code page
  };
  struct Place {  // where a section and a key stand, as indexes into lines_ (-1: absent)
    int header = -1, key = -1, last = -1;
  };

  bool Load();                        // false when the file exists but cannot be read
  void Parse();                       // encoding, line ends and lines of bytes_
  char16_t Unit(qsizetype at) const;  // the byte, or the UTF-16LE unit, at a byte offset
  qsizetype TextEnd() const;          // end of the last whole unit
  QString Decode(Line& line) const;   // the line's text as read, its utf8 set
  // Text as it goes into the file after prefix, the start of its line: in the code page or not.
  QByteArray Encode(QStringView text, bool codePage, QByteArrayView prefix = {}) const;
  Place Find(QStringView section, QStringView key) const;
  qsizetype ValueStart(const Line& line) const;

  QString path_;
  CodePage codePage_;
  QByteArray bytes_;
  Encoding encoding_ = Encoding::EightBit;
  bool codePageLines_ = false;  // some line of an 8-bit file reads in the code page
  qsizetype textStart_ = 0;     // bytes of the byte-order mark
  QString eol_ = QStringLiteral("\r\n");
  std::vector<Line> lines_;  // the non-blank lines, in file order
};

// An INI integer: decimal with an optional sign, or hexadecimal after "$", or after "0x" / "0X"
// when the text is longer than two characters; 32 bits. Anything else gives nothing.
std::optional<std::int32_t> IniToInt(QStringView text);

}  // namespace slatewick
