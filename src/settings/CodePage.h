#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <memory>

struct UConverter;

namespace slatewick {

// Text in a Windows ANSI code page (874, 932, 936, 949, 950, 1250..1258; a page that ICU lacks
// counts as 1252), read and written by Windows' own tables, without their best-fit mappings:
// - bytes 0x00..0x7F are themselves, and every byte that Windows passes through or maps into
//   the private use area reads so (932: 0x80 U+0080, 0xA0 U+F8F0, 0xFD..0xFF U+F8F1..U+F8F3;
//   1252: 0x81 U+0081 ...; 1253: 0xAA U+F8F9 ...), where ICU's tables differ;
// - what the page truly cannot decode (a lead byte without a trail byte after it, an unassigned
//   pair) reads as its default character, U+30FB for 932 and "?" for the others; a lead byte
//   followed by a byte that cannot trail it stands alone, and that byte is read on its own.
// Writing gives each character the bytes that read back as it; a character that the page lacks
// (or a lone surrogate) becomes "?".
class CodePage {
 public:
  explicit CodePage(int codePage);
  ~CodePage();
  CodePage(CodePage&&) noexcept;
  CodePage& operator=(CodePage&&) noexcept;

  int Number() const { return number_; }
  QString Decode(QByteArrayView bytes) const;
  QByteArray Encode(QStringView text) const;

 private:
  int number_ = 1252;
  char16_t defaultChar_ = u'?';
  char16_t windows_[256] = {};  // what Windows reads a single byte as, where ICU differs; 0: none
  std::unique_ptr<UConverter, void (*)(UConverter*)> converter_;
};

}  // namespace slatewick
