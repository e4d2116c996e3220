#include <gtest/gtest.h>

#include "files/TitleFormat.h"

namespace {

QString Fill(const char* text, const char* title = "abc") {
  return FormatWithTitle(QString::fromUtf8(text), QString::fromUtf8(title));
}

TEST(TitleFormat, TheTitleTakesThePlaceOfTheDefaultsPlaceholder) {
  EXPECT_EQ(FormatWithTitle(QStringLiteral("\"%3d.bmp\"は存在しません。"), QStringLiteral("abc")),
            QStringLiteral("\"abc.bmp\"は存在しません。"));
  EXPECT_EQ(Fill("%3d.bmp", "a"), QStringLiteral("a.bmp"));  // not padded
  EXPECT_EQ(Fill("%3d.bmp", "a long title"), QStringLiteral("a long title.bmp"));
}

TEST(TitleFormat, ATextWithoutPlaceholderIsShownUnchanged) {
  EXPECT_EQ(Fill("ファイルの縦x横が一致していません。"),
            QStringLiteral("ファイルの縦x横が一致していません。"));
  EXPECT_EQ(Fill(""), QString());
  EXPECT_EQ(Fill("100%"), QStringLiteral("100%"));
  EXPECT_EQ(Fill("50%! %y, %-"), QStringLiteral("50%! %y, %-"));
}

TEST(TitleFormat, AnyPrintfLikeDirectiveIsThePlaceholder) {
  EXPECT_EQ(Fill("[%s]"), QStringLiteral("[abc]"));
  EXPECT_EQ(Fill("[%-10.5ls]"), QStringLiteral("[abc       ]"));
  EXPECT_EQ(Fill("[%0:s]"), QStringLiteral("[abc]"));
  EXPECT_EQ(Fill("[%*.*d]"), QStringLiteral("[abc]"));
  EXPECT_EQ(Fill("[%llx]"), QStringLiteral("[abc]"));
  EXPECT_EQ(Fill("%y then %u"), QStringLiteral("%y then abc"));
}

TEST(TitleFormat, OnlyTheFirstDirectiveIsFilledAndTheRestStandsAsWritten) {
  EXPECT_EQ(Fill("%s%n%x"), QStringLiteral("abc%n%x"));
  EXPECT_EQ(Fill("%%s %s %s"), QStringLiteral("%s abc %s"));
  EXPECT_EQ(Fill("%n%n%n%n%n%n%n%n%n%n%s%s%s%s"), QStringLiteral("abc%n%n%n%n%n%n%n%n%n%s%s%s%s"));
}

// An s placeholder takes the flags, width and precision that printf's %s would; "*" reads no
// width or precision, as there is no argument to read them from.
TEST(TitleFormat, AnSPlaceholderIsPaddedAndCutAsPrintfWould) {
  const struct {
    const char* text;
    const char* title;
    const char16_t* shown;
  } cases[] = {
      {"[%5s]", "ab", u"[   ab]"},
      {"[%-5s]", "ab", u"[ab   ]"},
      {"[%05s]", "ab", u"[   ab]"},
      {"[%+ #5s]", "ab", u"[   ab]"},
      {"[%.2s]", "abcdef", u"[ab]"},
      {"[%5.1s]", "abcdef", u"[    a]"},
      {"[%-4.3s]", "abcdef", u"[abc ]"},
      {"[%.s]", "abcdef", u"[]"},
      {"[%*s]", "ab", u"[ab]"},
      {"[%.*s]", "abcdef", u"[abcdef]"},
      {"[%-*.*s]", "ab", u"[ab]"},
      {"[%0:5s]", "ab", u"[   ab]"},
      {"[%2s]", "abcdef", u"[abcdef]"},
      {"[%3s]", "表", u"[  表]"},
      {"[%.1s]", "𠮷x", u"[]"},
      {"[%.2s]", "𠮷x", u"[𠮷]"},
      {"[%3d]", "a", u"[a]"},
      {"[%-9x]", "a", u"[a]"},
      {"%%3d%%", "a", u"%3d%"},
      {"100%% %s %d %q %", "a", u"100% a %d %q %"},
      {"%-%s", "a", u"%-a"},
      {"%s%%%s", "a", u"a%%s"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Fill(c.text, c.title), QString::fromUtf16(c.shown)) << c.text;
  const QString wide = Fill("%99999999999999999999s", "ab");
  EXPECT_EQ(wide.size(), 2047);
  EXPECT_TRUE(wide.endsWith(QStringLiteral(" ab")));
}

TEST(TitleFormat, ATitleHoldingDirectivesIsInsertedLiterally) {
  EXPECT_EQ(Fill("\"%3d.bmp\" %s", "%s%n"), QStringLiteral("\"%s%n.bmp\" %s"));
  EXPECT_EQ(Fill("%s", "%1 %2"), QStringLiteral("%1 %2"));
}

}  // namespace
