#include "settings/CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <algorithm>
#include <array>
#include <string>

namespace slatewick {

namespace {

constexpr int kPages[] = {874,  932,  936,  949,  950,  1250, 1251,
                          1252, 1253, 1254, 1255, 1256, 1257, 1258};

// A single byte and what Windows reads it as, where ICU's table for the page reads it otherwise
// or not at all. (Bytes 0x00..0x7F, which read as themselves in every page, are not listed:
// ICU's 932 swaps 0x1A, 0x1C and 0x7F.)
struct WindowsByte {
  int page;
  unsigned char byte;
  char16_t character;
};

constexpr WindowsByte kWindowsBytes[] = {
    {932, 0x80, 0x0080},  {932, 0xA0, 0xF8F0},  {932, 0xFD, 0xF8F1},  {932, 0xFE, 0xF8F2},
    {932, 0xFF, 0xF8F3},  {1253, 0xAA, 0xF8F9}, {1253, 0xD2, 0xF8FA}, {1253, 0xFF, 0xF8FB},
    {1255, 0xCA, 0x05BA}, {1255, 0xD9, 0xF88D}, {1255, 0xDA, 0xF88E}, {1255, 0xDB, 0xF88F},
    {1255, 0xDC, 0xF890}, {1255, 0xDD, 0xF891}, {1255, 0xDE, 0xF892}, {1255, 0xDF, 0xF893},
    {1255, 0xFB, 0xF894}, {1255, 0xFC, 0xF895}, {1255, 0xFF, 0xF896}, {1257, 0xA1, 0xF8FC},
    {1257, 0xA5, 0xF8FD},
};

constexpr char16_t kMiddleDot = 0x30FB, kQuestionMark = u'?';

// ICU's own substitute would be U+001A or U+FFFD; the converter writes the page's default
// character (its context) instead.
extern "C" void WriteDefaultChar(const void* context, UConverterToUnicodeArgs* args, const char*,
                                 int32_t, UConverterCallbackReason reason, UErrorCode* status) {
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) return;
  *status = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, static_cast<const UChar*>(context), 1, 0, status);
}

UConverter* Open(int page) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(("windows-" + std::to_string(page)).c_str(), &status);
  if (U_SUCCESS(status)) return converter;
  if (converter) ucnv_close(converter);
  return nullptr;
}

}  // namespace

CodePage::CodePage(int codePage) : converter_(nullptr, ucnv_close) {
  const bool known = std::find(std::begin(kPages), std::end(kPages), codePage) != std::end(kPages);
  for (int page : {known ? codePage : 1252, 1252}) {
    converter_.reset(Open(page));
    number_ = page;
    if (converter_) break;
  }
  defaultChar_ = number_ == 932 ? kMiddleDot : kQuestionMark;
  for (int byte = 1; byte < 0x80; ++byte) windows_[byte] = char16_t(byte);
  for (const WindowsByte& entry : kWindowsBytes)
    if (entry.page == number_) windows_[entry.byte] = entry.character;
  if (!converter_) return;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter_.get(), WriteDefaultChar,
                      number_ == 932 ? &kMiddleDot : &kQuestionMark, nullptr, nullptr, &status);
  ucnv_setFromUCallBack(converter_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
  if (U_FAILURE(status)) converter_.reset();
}

CodePage::~CodePage() = default;
CodePage::CodePage(CodePage&&) noexcept = default;
CodePage& CodePage::operator=(CodePage&&) noexcept = default;

// ICU decodes in pieces, telling for each unit the byte where its character began; a unit that
// began at a single byte that Windows reads otherwise is replaced by Windows' character.
QString CodePage::Decode(QByteArrayView bytes) const {
  if (!converter_) return QString::fromLatin1(bytes);
  constexpr qsizetype kPiece = 1024;  // bytes
  // One byte gives at most two units; a character begun in the previous piece, a few more.
  std::array<UChar, 2 * kPiece + 8> units;
  std::array<int32_t, units.size()> offsets;
  QString text;
  text.reserve(bytes.size());
  ucnv_resetToUnicode(converter_.get());
  const char* source = bytes.data();
  const char* const end = source + bytes.size();
  for (;;) {
    const char* const start = source;
    const char* const limit = end - source > kPiece ? source + kPiece : end;
    UChar* target = units.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter_.get(), &target, units.data() + units.size(), &source, limit,
                   offsets.data(), limit == end, &status);
    if (U_FAILURE(status) && status != U_BUFFER_OVERFLOW_ERROR)
      return QString(bytes.size(), QChar(defaultChar_));
    for (qsizetype i = 0; i < target - units.data(); ++i) {
      char16_t unit = units[i];
      if (offsets[i] >= 0) {
        const char16_t windows = windows_[static_cast<unsigned char>(start[offsets[i]])];
        if (windows != 0) unit = windows;
      }
      text.append(QChar(unit));
    }
    if (limit == end && status != U_BUFFER_OVERFLOW_ERROR) return text;
  }
}

QByteArray CodePage::Encode(QStringView text) const {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (qsizetype i = 0; i < text.size();) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const QStringView character = text.mid(i, pair ? 2 : 1);
    i += character.size();
    const char16_t unit = character[0].unicode();
    const auto* windows = std::find(windows_ + 1, std::end(windows_), unit);
    if (!pair && unit != 0 && windows != std::end(windows_)) {
      bytes.append(char(windows - windows_));
      continue;
    }
    char buffer[8];
    int32_t length = 0;
    if (converter_) {
      UErrorCode status = U_ZERO_ERROR;
      length = ucnv_fromUChars(converter_.get(), buffer, sizeof buffer,
                               reinterpret_cast<const UChar*>(character.utf16()),
                               int32_t(character.size()), &status);
      if (U_FAILURE(status)) length = 0;
    } else if (unit < 0x100) {
      buffer[0] = char(unit);
      length = 1;
    }
    // ICU may give bytes that Windows reads as another character (0xAA of 1253, say).
    const QByteArrayView encoded(buffer, length);
    bytes.append(length > 0 && Decode(encoded) == character ? encoded : QByteArrayView("?"));
  }
  return bytes;
}

}  // namespace slatewick
