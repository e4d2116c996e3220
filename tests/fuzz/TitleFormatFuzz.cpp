#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/TitleFormat.h"

using namespace slatewick;

namespace {

QString Decode(const std::uint8_t* data, std::size_t size, bool utf16) {
  if (!utf16) return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  std::u16string units(size / 2, u'\0');
  std::memcpy(units.data(), data, units.size() * 2);
  return QString::fromStdU16String(units);
}

}  // namespace

// A message text and a title through FormatWithTitle. The first byte chooses the encoding of the
// rest (bit 0: UTF-16LE, else UTF-8) and the title's length in bytes (the other bits); the title
// comes first, the text after it. A text without "%" comes back unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool utf16 = data[0] & 1;
  const std::size_t titleBytes = std::min<std::size_t>(data[0] >> 1, size - 1);
  const QString title = Decode(data + 1, titleBytes, utf16);
  const QString text = Decode(data + 1 + titleBytes, size - 1 - titleBytes, utf16);
  const QString shown = FormatWithTitle(text, title);
  if (!text.contains(u'%') && shown != text) std::abort();
  return 0;
}
