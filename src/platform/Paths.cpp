#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& Override() {
  static QString dir;
  return dir;
}
}  // namespace

QString ExeDir() {
  if (!Override().isEmpty()) return Override();
  return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator();
}

void SetExeDir(const QString& dir) {
  Override() = dir.isEmpty() || dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}
