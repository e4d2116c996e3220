#pragma once
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "platform/Places.h"
#include "settings/Language.h"

// Files for the INI tests: bytes in, bytes out, text as UTF-16LE with a byte-order mark.
inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray Utf16Le(const QString& text, bool mark = true) {
  QByteArray bytes = mark ? QByteArray("\xFF\xFE", 2) : QByteArray();
  for (QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

// A fresh folder that stands in for the executable's folder, with the locale and language file
// chosen as the program would choose them; everything is put back afterwards.
class ExeFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    SetExeDir(dir_.path());
    SetLanguageFilePath(QString());
    SetUserDefaultLCID(1033);
  }
  void TearDown() override {
    SetExeDir(QString());
    SetLanguageFilePath(QString());
    SetUserDefaultLCID(0);
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
};
