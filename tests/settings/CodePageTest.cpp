#include <gtest/gtest.h>

#include "settings/CodePage.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

// Where ICU's tables and Windows' differ, bytes read as Windows reads them; what a page cannot
// decode reads as its default character, and what it lacks is written as "?".
TEST(CodePageTest, BytesReadAsWindowsReadsThem) {
  const struct {
    int page;
    QByteArray bytes;
    QString read;
  } cases[] = {
      {932, "\x1A\x1C\x7F\x80\xA0\xFD\xFE\xFF", u"\x1A\x1C\x7F\u0080\uF8F0\uF8F1\uF8F2\uF8F3"_s},
      {932, "\x81\x80\xA1\xDF\x83\x5C", u"÷｡ﾟソ"_s},
      {932, "\x85\x40\x81=\x81\x1A\x83", u"・・=・\x1A・"_s},
      {1252, "\x81\x8D\x8F\x90\x9D\x80\x9F", u"\u0081\u008D\u008F\u0090\u009D€Ÿ"_s},
      {1253, "\xAA\xD2\xFF", u"\uF8F9\uF8FA\uF8FB"_s},
      {1255, "\xCA\xD9\xDF\xFB\xFC\xFF", u"\u05BA\uF88D\uF893\uF894\uF895\uF896"_s},
      {1257, "\xA1\xA5", u"\uF8FC\uF8FD"_s},
      {936, "\x80\xFF", u"€\uF8F5"_s},
      {949, "\x80\xFF", u"\u0080\uF8F7"_s},
      {950, "\x80\xFF", u"\u0080\uF8F8"_s},
      {437, "\x81\xE9", u"\u0081é"_s},  // a page other than these counts as 1252
  };
  for (const auto& c : cases)
    EXPECT_EQ(CodePage(c.page).Decode(c.bytes), c.read) << c.page << " " << c.bytes.toHex().data();
  EXPECT_EQ(CodePage(932).Encode(u"黒板 é \uF8F0"), "\x8D\x95\x94\xC2 ? \xA0");
  EXPECT_EQ(CodePage(1253).Encode(u"\u00AA\uF8F9α\xD800"_s), "?\xAA\xE1?");
}

// Every character that one byte reads as writes back as that byte, and every character that a
// lead and a trail byte read as writes back as bytes that read as it; bytes 0x00..0x7F are
// themselves in every page.
TEST(CodePageTest, EveryCharacterReadWritesBack) {
  const auto decoded = [](const QString& read) {
    return read.size() == 1 && read != u"・" && read != u"?";
  };
  for (int page : {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    const CodePage codePage(page);
    for (int byte = 0; byte < 256; ++byte) {
      const QByteArray one(1, char(byte));
      const QString read = codePage.Decode(one);
      EXPECT_TRUE(byte >= 0x80 || read == QChar(byte)) << page << " " << byte;
      if (decoded(read)) {
        EXPECT_EQ(codePage.Encode(read), one) << page << " " << byte;
        continue;
      }
      for (int trail = 0x40; trail < 256; ++trail) {
        const QString pair = codePage.Decode(one + char(trail));
        EXPECT_TRUE(!decoded(pair) || codePage.Decode(codePage.Encode(pair)) == pair)
            << page << " " << byte << " " << trail;
      }
    }
  }
}

}  // namespace

}  // namespace slatewick
