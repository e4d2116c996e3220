#include <gtest/gtest.h>

#include "files/TitleFormat.h"

namespace slatewick {

namespace {

QString Fill(const char* text, const char* title) {
  return FormatWithTitle(QString::fromUtf8(text), QString::fromUtf8(title));
}

// The title takes the place of a message's first printf-like directive, with the flags, width
// and precision printf's %s would take; everything else stands as written.
TEST(TitleFormat, TheFirstDirectiveIsFilledWithTheTitleAsPrintfWould) {
  const struct {
    const char* text;
    const char* title;
    const char16_t* shown;
  } cases[] = {
      // The default texts' placeholder: the title is not padded.
      {"\"%3d.bmp\"は存在しません。", "abc", u"\"abc.bmp\"は存在しません。"},
      {"%3d.bmp", "a", u"a.bmp"},
      {"%3d.bmp", "a long title", u"a long title.bmp"},
      // A text without a placeholder is shown unchanged.
      {"ファイルの縦x横が一致していません。", "abc", u"ファイルの縦x横が一致していません。"},
      {"", "abc", u""},
      {"100%", "abc", u"100%"},
      {"50%! %y, %-", "abc", u"50%! %y, %-"},
      // Any printf-like directive is the placeholder.
      {"[%s]", "abc", u"[abc]"},
      {"[%-10.5ls]", "abc", u"[abc       ]"},
      {"[%0:s]", "abc", u"[abc]"},
      {"[%*.*d]", "abc", u"[abc]"},
      {"[%llx]", "abc", u"[abc]"},
      {"%y then %u", "abc", u"%y then abc"},
      // Only the first directive is filled.
      {"%s%n%x", "abc", u"abc%n%x"},
      {"%%s %s %s", "abc", u"%s abc %s"},
      {"%n%n%n%n%n%n%n%n%n%n%s%s%s%s", "abc", u"abc%n%n%n%n%n%n%n%n%n%s%s%s%s"},
      // An s placeholder is padded and cut as printf's %s would; "*" reads no width or
      // precision, as there is no argument to read them from.
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
      // A title holding directives is inserted literally.
      {"\"%3d.bmp\" %s", "%s%n", u"\"%s%n.bmp\" %s"},
      {"%s", "%1 %2", u"%1 %2"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Fill(c.text, c.title), QString::fromUtf16(c.shown)) << c.text << " with " << c.title;
  const QString wide = Fill("%99999999999999999999s", "ab");
  EXPECT_EQ(wide.size(), 2047);
  EXPECT_TRUE(wide.endsWith(QStringLiteral(" ab")));
}

}  // namespace

}  // namespace slatewick
