#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

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
// Encodings: a file beginning with FF FE is UTF-16LE. Any other file is 8-bit: UTF-8 when the
// whole file is valid UTF-8 (an EF BB BF mark is skipped), else the Windows ANSI code page
// given at opening (932, 1252, ...), where a byte that the page cannot decode, or decodes only
// to a C1 control, reads as the page's default character (U+30FB for 932, "?" for the
// others). CR LF, LF and CR all end a line.
// Opening reads the file once and never creates it. Writing re-reads the file, changes only the
// bytes of the one key's value (or inserts one line, or appends one section), keeps the file's
// encoding and line ends, and replaces the file atomically where its folder allows that, else
// rewrites it in place (see ReplaceOrRewriteFile); a failed write leaves the file as it was.
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

 private:
  enum class Encoding { Utf8, Ansi, Utf16Le };
  struct Line {
    qsizetype begin = 0, end = 0, next = 0;  // bytes: content, its end, start of the next line
    QString text;                            // blanks around it dropped; never empty
  };
  struct Place {  // where a section and a key stand, as indexes into lines_ (-1: absent)
    int header = -1, key = -1, last = -1;
  };

  bool Load();                        // false when the file exists but cannot be read
  void Parse();                       // encoding, line ends and lines of bytes_
  char16_t Unit(qsizetype at) const;  // the byte, or the UTF-16LE unit, at a byte offset
  qsizetype TextEnd() const;          // end of the last whole unit
  QString Decode(UConverter* ansi, qsizetype begin, qsizetype end) const;
  QByteArray Encode(const QString& text) const;
  Place Find(QStringView section, QStringView key) const;
  qsizetype ValueStart(const Line& line) const;
  bool WriteValue(QStringView section, QStringView key, const QString& value);

  QString path_;
  int codePage_;
  QByteArray bytes_;
  Encoding encoding_ = Encoding::Utf8;
  qsizetype textStart_ = 0;  // bytes of the byte-order mark
  QString eol_ = QStringLiteral("\r\n");
  std::vector<Line> lines_;  // the non-blank lines, in file order
};

// An INI integer: decimal with an optional sign, or hexadecimal after "$", or after "0x" / "0X"
// when the text is longer than two characters; 32 bits. Anything else gives nothing.
std::optional<std::int32_t> IniToInt(QStringView text);

}  // namespace slatewick
