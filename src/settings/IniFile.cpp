#include "settings/IniFile.h"

#include <unicode/ustring.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/FileReplace.h"

namespace slatewick {

namespace {

bool IsUtf8(QByteArrayView bytes) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

// The blanks around names and values: tab, LF, VT, FF, CR, space and the DOS end of file ^Z.
bool IsBlank(char16_t unit) {
  return (unit >= u'\t' && unit <= u'\r') || unit == u' ' || unit == u'\x1A';
}

QStringView TrimBlanks(QStringView text) {
  while (!text.isEmpty() && IsBlank(text.front().unicode())) text = text.mid(1);
  while (!text.isEmpty() && IsBlank(text.back().unicode())) text.chop(1);
  return text;
}

// A name or a value as a C string sees it: up to its first NUL, without the blanks around it.
QStringView NameOrValue(QStringView text) {
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  return TrimBlanks(nul < 0 ? text : text.left(nul));
}

bool IsLineBreak(char16_t unit) {
  return unit == u'\r' || unit == u'\n';
}

std::optional<std::uint32_t> ParseHex(QStringView digits) {
  if (digits.isEmpty()) return std::nullopt;
  std::uint64_t value = 0;
  for (QChar c : digits) {
    const int digit = c >= u'0' && c <= u'9'   ? c.unicode() - u'0'
                      : c >= u'a' && c <= u'f' ? c.unicode() - u'a' + 10
                      : c >= u'A' && c <= u'F' ? c.unicode() - u'A' + 10
                                               : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<std::int32_t> IniToInt(QStringView text) {
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    if (auto value = ParseHex(text.mid(2))) return static_cast<std::int32_t>(*value);
    return std::nullopt;
  }
  if (text.startsWith(u'$')) {
    if (auto value = ParseHex(text.mid(1))) return static_cast<std::int32_t>(*value);
    return std::nullopt;
  }
  const bool negative = text.startsWith(u'-');
  if (negative || text.startsWith(u'+')) text = text.mid(1);
  if (text.isEmpty()) return std::nullopt;
  std::int64_t value = 0;
  for (QChar c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
    if (value > std::int64_t{1} << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

IniFile::IniFile(QString path, int ansiCodePage) : path_(std::move(path)), codePage_(ansiCodePage) {
  Load();
}

bool IniFile::Load() {
  bytes_.clear();
  Parse();
  const QFileInfo info(path_);
  if (!info.exists()) return true;
  if (!info.isFile() || info.size() > MaxFileSize) return false;
  QFile file(path_);
  if (!file.open(QIODevice::ReadOnly)) return false;
  // Sized by the file, not by the limit: every open would otherwise allocate the limit.
  QByteArray data = file.read(std::min<qint64>(file.size(), MaxFileSize) + 1);
  if (file.error() != QFileDevice::NoError || data.size() > MaxFileSize) return false;
  bytes_ = std::move(data);
  Parse();
  return true;
}

char16_t IniFile::Unit(qsizetype at) const {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes_.constData());
  if (encoding_ == Encoding::Utf16Le) return static_cast<char16_t>(b[at] | b[at + 1] << 8);
  return b[at];
}

qsizetype IniFile::TextEnd() const {
  if (encoding_ != Encoding::Utf16Le) return bytes_.size();
  return textStart_ + (bytes_.size() - textStart_) / 2 * 2;
}

// Lines are split at CR and LF bytes (or units), which no multi-byte character of a Windows
// code page contains, so 8-bit files can be split before they are decoded.
void IniFile::Parse() {
  lines_.clear();
  eol_ = QStringLiteral("\r\n");
  codePageLines_ = false;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes_.constData());
  const qsizetype size = bytes_.size();
  if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    encoding_ = Encoding::Utf16Le;
    textStart_ = 2;
  } else {
    encoding_ = Encoding::EightBit;
    textStart_ = size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF ? 3 : 0;
  }
  const qsizetype w = encoding_ == Encoding::Utf16Le ? 2 : 1;
  const qsizetype end = TextEnd();
  bool eolSeen = false;
  for (qsizetype pos = textStart_; pos < end;) {
    qsizetype stop = pos;
    while (stop < end && !IsLineBreak(Unit(stop))) stop += w;
    qsizetype next = stop;
    if (next < end) {
      const bool crlf = Unit(next) == u'\r' && next + w < end && Unit(next + w) == u'\n';
      if (!eolSeen) {
        eol_ = crlf ? QStringLiteral("\r\n") : QString(QChar(Unit(next)));
        eolSeen = true;
      }
      next += crlf ? 2 * w : w;
    }
    Line line{pos, stop, next, QString()};
    const QString decoded = Decode(line);
    codePageLines_ = codePageLines_ || !line.utf8;
    const QStringView text = TrimBlanks(decoded);
    if (!text.isEmpty()) {
      line.text = text.toString();
      lines_.push_back(std::move(line));
    }
    pos = next;
  }
}

QString IniFile::Decode(Line& line) const {
  const QByteArrayView bytes(bytes_.constData() + line.begin, line.end - line.begin);
  if (encoding_ == Encoding::Utf16Le) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) text[i] = QChar(Unit(line.begin + 2 * i));
    return text;
  }
  line.utf8 = IsUtf8(bytes);
  return line.utf8 ? QString::fromUtf8(bytes) : codePage_.Decode(bytes);
}

QByteArray IniFile::Encode(QStringView text, bool codePage, QByteArrayView prefix) const {
  if (encoding_ == Encoding::Utf16Le) {
    QByteArray bytes(2 * text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
      bytes[2 * i] = static_cast<char>(text[i].unicode() & 0xFF);
      bytes[2 * i + 1] = static_cast<char>(text[i].unicode() >> 8);
    }
    return bytes;
  }
  QByteArray utf8 = text.toUtf8();
  if (!codePage) return utf8;
  QByteArray ansi = codePage_.Encode(text);
  if (ansi != utf8 && IsUtf8(prefix.toByteArray() + ansi)) return utf8;
  return ansi;
}

IniFile::Place IniFile::Find(QStringView section, QStringView key) const {
  Place place;
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
    const QStringView text = lines_[i].text;
    const qsizetype close = text.startsWith(u'[') ? text.lastIndexOf(u']') : -1;
    if (close > 0) {
      if (place.header >= 0) break;
      if (NameOrValue(text.mid(1, close - 1)).compare(section, Qt::CaseInsensitive) == 0)
        place.header = place.last = i;
      continue;
    }
    if (place.header < 0) continue;
    place.last = i;
    if (place.key >= 0 || text.startsWith(u';')) continue;
    const qsizetype equals = text.indexOf(u'=');
    if (equals >= 0 && NameOrValue(text.left(equals)).compare(key, Qt::CaseInsensitive) == 0)
      place.key = i;
  }
  return place;
}

// The "=" and the blanks that follow it are single bytes (or units) that no multi-byte
// character contains, so the value's first byte can be found without decoding.
qsizetype IniFile::ValueStart(const Line& line) const {
  const qsizetype w = encoding_ == Encoding::Utf16Le ? 2 : 1;
  qsizetype at = line.begin;
  while (at < line.end && Unit(at) != u'=') at += w;
  at = std::min(at + w, line.end);
  while (at < line.end && IsBlank(Unit(at))) at += w;
  return at;
}

QString IniFile::ReadString(QStringView section, QStringView key, const QString& fallback) const {
  const Place place = Find(section, key);
  if (place.key < 0) return fallback;
  const QStringView text = lines_[place.key].text;
  QStringView value = NameOrValue(text.mid(text.indexOf(u'=') + 1));
  if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0])
    value = value.mid(1, value.size() - 2);
  if (value.size() > MaxValueLength) {
    value = value.left(MaxValueLength);
    if (value.back().isHighSurrogate()) value.chop(1);
  }
  return value.toString();
}

bool IniFile::ReadBool(QStringView section, QStringView key, bool fallback) const {
  const auto value = IniToInt(ReadString(section, key, QString()));
  return value ? *value != 0 : fallback;
}

bool IniFile::WriteBool(QStringView section, QStringView key, bool value) {
  return WriteString(section, key, value ? u"1" : u"0");
}

bool IniFile::WriteString(QStringView section, QStringView key, QStringView value) {
  if (!Load()) return false;
  // A value ends where a C string ends, and cannot span lines.
  const auto stop = std::find_if(value.begin(), value.end(),
                                 [](QChar c) { return c == u'\0' || IsLineBreak(c.unicode()); });
  value = value.left(stop - value.begin());
  const Place place = Find(section, key);
  const QString entry = key.toString() + u'=' + value.toString();
  const QByteArray eol = Encode(eol_, false);
  qsizetype at = 0;
  qsizetype removed = 0;
  QByteArray insert;
  if (place.key >= 0) {
    const Line& line = lines_[place.key];
    at = ValueStart(line);
    removed = line.end - at;
    const QByteArrayView prefix(bytes_.constData() + line.begin, at - line.begin);
    insert = Encode(value, !line.utf8, prefix);
  } else if (place.header >= 0) {
    const Line& last = lines_[place.last];
    const bool ended = last.next > last.end;
    at = ended ? last.next : last.end;
    insert = (ended ? QByteArray() : eol) + Encode(entry, codePageLines_) + eol;
  } else {
    at = TextEnd();
    const qsizetype w = encoding_ == Encoding::Utf16Le ? 2 : 1;
    const bool ended = at == textStart_ || IsLineBreak(Unit(at - w));
    const QString header = u'[' + section.toString() + u']';
    insert = (ended ? QByteArray() : eol) + Encode(header, codePageLines_) + eol +
             Encode(entry, codePageLines_) + eol;
  }
  QByteArray bytes = bytes_.left(at) + insert + bytes_.mid(at + removed);

  if (ReplaceOrRewriteFile(path_, bytes)) return false;
  bytes_ = std::move(bytes);
  Parse();
  return true;
}

}  // namespace slatewick
