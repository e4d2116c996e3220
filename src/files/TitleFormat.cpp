#include "files/TitleFormat.h"

namespace {

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

qsizetype SkipDigits(const QString& text, qsizetype i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// The length of the directive starting with the "%" at start, or 0 when none starts there.
qsizetype DirectiveLength(const QString& text, qsizetype start) {
  qsizetype i = start + 1;
  const qsizetype index = SkipDigits(text, i);  // Delphi's argument index "0:"
  if (index > i && index < text.size() && text[index] == u':') i = index + 1;
  while (i < text.size() && QStringView(u"-+ #0").contains(text[i])) ++i;
  if (i < text.size() && text[i] == u'*')
    ++i;
  else
    i = SkipDigits(text, i);
  if (i < text.size() && text[i] == u'.') {
    ++i;
    if (i < text.size() && text[i] == u'*')
      ++i;
    else
      i = SkipDigits(text, i);
  }
  while (i < text.size() && QStringView(u"hlLqjzt").contains(text[i])) ++i;
  if (i < text.size() && QStringView(u"diouxXeEfFgGaAcCsSpnm").contains(text[i]))
    return i + 1 - start;
  return 0;
}

}  // namespace

QString FormatWithTitle(const QString& text, const QString& title) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'%') continue;
    if (i + 1 < text.size() && text[i + 1] == u'%') {
      ++i;
      continue;
    }
    if (const qsizetype length = DirectiveLength(text, i); length > 0)
      return text.left(i) + title + text.mid(i + length);
  }
  return text;
}
