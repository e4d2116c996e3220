#include "settings/Language.h"

#include <QFileInfo>

#include "platform/MessageBoxes.h"
#include "platform/Places.h"

namespace slatewick {

namespace {

QString& PathOverride() {
  static QString path;
  return path;
}

}  // namespace

QString LanguageFilePath() {
  if (!PathOverride().isEmpty()) return PathOverride();
  const QString folder = Places::LanguageFolder();
  const QString candidate = folder + QStringLiteral("Language_") +
                            QString::number(UserLocaleNumber()) + QStringLiteral(".ini");
  if (QFileInfo(candidate).isFile()) return candidate;
  return folder + QStringLiteral("Language.ini");
}

void SetLanguageFilePath(const QString& path) {
  PathOverride() = path;
}

LanguageFile::LanguageFile() : ini_(LanguageFilePath(), AnsiCodePage(UserLocaleNumber())) {}

QString LanguageFile::Text(const TextKey& text) const {
  return ini_.ReadString(text.Section, text.Key, text.Default.toString());
}

QString LanguageFile::Text(QStringView section, QStringView key, const QString& fallback) const {
  return ini_.ReadString(section, key, fallback);
}

QString LangText(const QString& section, const QString& key, const QString& fallback) {
  return LanguageFile().Text(section, key, fallback);
}

QString LangText(const TextKey& text) {
  return LanguageFile().Text(text);
}

QString ExportFilter(const QString& bmpText, const QString& jpgText, const QString& pngText) {
  return bmpText + QStringLiteral(" (*.bmp);;") + jpgText + QStringLiteral(" (*.jpg);;") + pngText +
         QStringLiteral(" (*.png);;") + Texts::AllFilesFilter.toString();
}

}  // namespace slatewick
