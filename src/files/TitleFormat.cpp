#include "files/TitleFormat.h"

#include <algorithm>

namespace slatewick {

namespace {

constexpr qsizetype MaxField = 2047;  // UTF-16 units

// One printf-like directive, read from its "%".
struct Directive {
  qsizetype length = 0;  // 0: no directive starts there
  bool text = false;     // an s (or S) conversion
  bool leftAlign = false;
  qsizetype width = 0;
  qsizetype precision = -1;  // -1: none
};

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

// The digits from i on as a number that stops growing at MaxField; i moves past them.
qsizetype ReadNumber(const QString& text, qsizetype& i) {
  qsizetype value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i)
    value = std::min(MaxField, value * 10 + (text[i].unicode() - u'0'));
  return value;
}

Directive ReadDirective(const QString& text, qsizetype start) {
  Directive directive;
  qsizetype i = start + 1;
  qsizetype index = i;  // Delphi's argument index "0:"
  ReadNumber(text, index);
  if (index > i && index < text.size() && text[index] == u':') i = index + 1;
  for (; i < text.size() && QStringView(u"-+ #0").contains(text[i]); ++i)
    directive.leftAlign = directive.leftAlign || text[i] == u'-';
  if (i < text.size() && text[i] == u'*')
    ++i;
  else
    directive.width = ReadNumber(text, i);
  if (i < text.size() && text[i] == u'.') {
    ++i;
    if (i < text.size() && text[i] == u'*')
      ++i;
    else
      directive.precision = ReadNumber(text, i);
  }
  while (i < text.size() && QStringView(u"hlLqjzt").contains(text[i])) ++i;
  if (i < text.size() && QStringView(u"diouxXeEfFgGaAcCsSpnm").contains(text[i])) {
    directive.text = text[i] == u's' || text[i] == u'S';
    directive.length = i + 1 - start;
  }
  return directive;
}

// The title as the placeholder shows it.
QString Placed(const QString& title, const Directive& placeholder) {
  if (!placeholder.text) return title;
  QString shown = title;
  if (placeholder.precision >= 0 && shown.size() > placeholder.precision) {
    shown.truncate(placeholder.precision);
    if (!shown.isEmpty() && shown.back().isHighSurrogate()) shown.chop(1);
  }
  const QString padding(std::max<qsizetype>(0, placeholder.width - shown.size()), u' ');
  return placeholder.leftAlign ? shown + padding : padding + shown;
}

}  // namespace

QString FormatWithTitle(const QString& text, const QString& title) {
  QString shown;
  bool filled = false;
  for (qsizetype i = 0; i < text.size();) {
    if (text[i] != u'%') {
      shown += text[i++];
    } else if (i + 1 < text.size() && text[i + 1] == u'%') {
      shown += u'%';
      i += 2;
    } else if (const Directive directive = ReadDirective(text, i); directive.length == 0) {
      shown += text[i++];
    } else {
      shown += filled ? text.mid(i, directive.length) : Placed(title, directive);
      filled = true;
      i += directive.length;
    }
  }
  return shown;
}

}  // namespace slatewick
