#include "settings/VersionBox.h"

#include <QStringList>

#include "Version.h"
#include "platform/MessageBoxes.h"
#include "settings/Language.h"

namespace slatewick {

namespace {

constexpr int JapaneseJapan = 1041;

std::optional<VersionNumbers>& VersionOverride() {
  static std::optional<VersionNumbers> version;
  return version;
}

}  // namespace

VersionNumbers ParseFileVersion(QStringView text) {
  const auto parts = text.split(u'.');
  const auto part = [&](qsizetype i) { return i < parts.size() ? parts[i].toInt() : 0; };
  return {part(0), part(1), part(2), part(3)};
}

VersionNumbers ProgramVersion() {
  static const VersionNumbers built = ParseFileVersion(QStringLiteral(SLATEWICK_FILE_VERSION));
  return VersionOverride().value_or(built);
}

void SetProgramVersion(std::optional<VersionNumbers> version) {
  VersionOverride() = version;
}

QString CreditLine(int lcid) {
  if (lcid == JapaneseJapan) return QStringLiteral("制作：Slatewick 開発チーム");
  return QStringLiteral("Made by the Slatewick team");
}

QString VersionText(const VersionNumbers& version, int lcid, const QString& author) {
  const QString authorLine =
      author.isEmpty() ? QString() : QStringLiteral("\rLanguageResource written by ") + author;
  return QStringLiteral("Slatewick 2\rVer. ") + QString::number(version.Major) + u'.' +
         QString::number(version.Minor) + QString::number(version.Release) + u'\r' +
         CreditLine(lcid) + authorLine;
}

void ShowVersionBox() {
  const QString author = LangText(Texts::LanguageAuthor);
  QString text = VersionText(ProgramVersion(), UserLocaleNumber(), author);
  // The box breaks lines at line feeds.
  text.replace(u'\r', u'\n');
  ShowMessageBox({text, ApplicationTitle(), BoxIcon::None});
}

}  // namespace slatewick
