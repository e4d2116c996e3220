#include "platform/Places.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <array>
#include <optional>

namespace slatewick {

namespace {

using Places::Layout;

// The files whose presence beside the executable marks a portable copy.
constexpr std::array<QStringView, 6> PictureNames{u"Ukezara.bmp",   u"Chalk.bmp", u"Erase.bmp",
                                                  u"MotiChalk.bmp", u"Hand.bmp",  u"Moji.bmp"};
const QString AppFolder = QStringLiteral("slatewick/");

QString WithSeparator(const QString& dir) {
  return dir.endsWith(u'/') ? dir : dir + u'/';
}

QString RealExeDir() {
  return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator();
}

struct Where {
  Layout layout;
  QString root;  // portable: the executable's folder; installed: the share folder
};

// SLATEWICK_SHARE_FROM_BIN, set by the build, leads from the executable's folder to the
// installed data files (../share/slatewick for the usual layout).
Where Decide() {
  const QString exeDir = RealExeDir();
  if (Places::LayoutFor(exeDir) == Layout::Portable) return {Layout::Portable, exeDir};
  return {Layout::Installed,
          WithSeparator(QDir::cleanPath(exeDir + QStringLiteral(SLATEWICK_SHARE_FROM_BIN)))};
}

// A layout set by a test.
std::optional<Where>& Override() {
  static std::optional<Where> places;
  return places;
}

// The layout for this run: decided once, unless a test has set one.
const Where& Current() {
  if (Override()) return *Override();
  static const Where decided = Decide();
  return decided;
}

QString UserFolder(QStandardPaths::StandardLocation location, const QString& below) {
  return WithSeparator(QStandardPaths::writableLocation(location)) + below;
}

QString DataFile(const QString& name) {
  return Current().root + name;
}

void MakeUserFolder(const QString& folder) {
  if (Current().layout == Layout::Installed && !QFileInfo::exists(folder)) QDir().mkpath(folder);
}

}  // namespace

namespace Places {

Layout CurrentLayout() {
  return Current().layout;
}

Layout LayoutFor(const QString& exeDir) {
  if (!QFileInfo(exeDir).isWritable()) return Layout::Installed;
  for (QStringView name : PictureNames)
    if (QFileInfo(WithSeparator(exeDir) + name.toString()).isFile()) return Layout::Portable;
  return Layout::Installed;
}

QString Picture(const QString& name) {
  return DataFile(name);
}

QString TapSound() {
  const QString name = QStringLiteral("start0.wav");
  return Current().layout == Layout::Portable ? name : DataFile(name);
}

QString LanguageFolder() {
  return Current().root;
}

QString SettingsFile() {
  const QString name = QStringLiteral("VezozazOption.ini");
  if (Current().layout == Layout::Portable) return Current().root + name;
  return UserFolder(QStandardPaths::GenericConfigLocation, AppFolder) + name;
}

QString BoardFolder() {
  const QString users = QStringLiteral("users/");
  if (Current().layout == Layout::Portable) return Current().root + users;
  return UserFolder(QStandardPaths::GenericDataLocation, AppFolder + users);
}

QString ScreenShotFolder() {
  if (Current().layout == Layout::Portable) return Current().root;
  return UserFolder(QStandardPaths::PicturesLocation, QString());
}

void PrepareSettingsFolder() {
  MakeUserFolder(QFileInfo(SettingsFile()).path());
}

void PrepareScreenShotFolder() {
  MakeUserFolder(ScreenShotFolder());
}

}  // namespace Places

QString ExeDir() {
  if (Override() && Override()->layout == Layout::Portable) return Override()->root;
  return RealExeDir();
}

void SetExeDir(const QString& dir) {
  if (dir.isEmpty())
    Override().reset();
  else
    Override() = Where{Layout::Portable, WithSeparator(dir)};
}

void SetInstalledShareDir(const QString& shareDir) {
  if (shareDir.isEmpty())
    Override().reset();
  else
    Override() = Where{Layout::Installed, WithSeparator(shareDir)};
}

}  // namespace slatewick
