#pragma once
// Files as bytes for the tests: written whole, read whole, text as UTF-16LE with a byte-order
// mark, and the system's words for an error number.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstring>

namespace slatewick {

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray Utf16Le(const QString& text) {
  QByteArray bytes("\xFF\xFE", 2);
  for (QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

// The system's words for an error number, as an error box shows them.
inline QString SystemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace slatewick
