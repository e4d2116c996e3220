#include "platform/Places.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <array>
#include <cerrno>
#include <optional>
#include <vector>

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

// Where a user without a home folder is given one: Debian keeps this folder missing, and the
// program never makes it, so that writing there fails instead of landing in "/".
const QString NoHome = QStringLiteral("/nonexistent");

// The home folder of the password database for the effective user; empty where it has none (or
// only "/").
QString PasswordHome() {
  const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? std::size_t(suggested) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  while (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE)
    buffer.resize(buffer.size() * 2);
  const QString home = found && found->pw_dir ? QFile::decodeName(found->pw_dir) : QString();
  return QDir::cleanPath(home) == QStringLiteral("/") ? QString() : home;
}

// Without HOME the user folders would lie in "/": HOME is then taken from the password
// database, or set to NoHome where that has none.
void FindHome() {
  if (!qEnvironmentVariableIsEmpty("HOME")) return;
  const QString home = PasswordHome();
  qputenv("HOME", QFile::encodeName(home.isEmpty() ? NoHome : home));
}

QString UserFolder(QStandardPaths::StandardLocation location, const QString& below) {
  FindHome();
  return WithSeparator(QStandardPaths::writableLocation(location)) + below;
}

// $XDG_STATE_HOME, or ~/.local/state where it is unset or not absolute (the XDG rule); under
// Qt's test mode, as Qt's own folders, a folder of ~/.qttest.
QString StateFolder() {
  FindHome();
  const QString home = WithSeparator(QDir::homePath());
  if (QStandardPaths::isTestModeEnabled()) return home + QStringLiteral(".qttest/state/");
  const QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (QDir::isAbsolutePath(state)) return WithSeparator(state);
  return home + QStringLiteral(".local/state/");
}

QString DataFile(const QString& name) {
  return Current().root + name;
}

// Makes folder with its parents, unless it is there or lies in the missing home; the system's
// reason when that fails.
QString MakeFolder(const QString& folder) {
  if (QFileInfo(folder).isDir()) return {};
  if (folder == NoHome || folder.startsWith(NoHome + u'/')) return qt_error_string(ENOENT);
  const QByteArray path = QFile::encodeName(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
  for (qsizetype end = path.indexOf('/', 1);; end = path.indexOf('/', end + 1)) {
    const QByteArray part = end < 0 ? path : path.left(end);
    if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) return qt_error_string(errno);
    if (end < 0) break;
  }
  return QFileInfo(folder).isDir() ? QString() : qt_error_string(ENOTDIR);
}

void MakeUserFolder(const QString& folder) {
  if (Current().layout == Layout::Installed) MakeFolder(folder);
}

}  // namespace

namespace Places {

Layout CurrentLayout() {
  return Current().layout;
}

Layout LayoutFor(const QString& exeDir) {
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

QString KeptBoard(int slot) {
  const QString name = slot == 0 ? QStringLiteral("LastBoard.bmp")
                                 : QStringLiteral("LastBoard-%1.bmp").arg(slot + 1);
  if (Current().layout == Layout::Portable) return Current().root + name;
  return StateFolder() + AppFolder + name;
}

QStringList WrittenFolders() {
  QStringList folders;
  for (const QString& file : {SettingsFile(), KeptBoard(), BoardFolder(), ScreenShotFolder()}) {
    const QString folder = WithSeparator(QFileInfo(file).path());
    if (!folders.contains(folder)) folders.append(folder);
  }
  return folders;
}

void PrepareSettingsFolder() {
  MakeUserFolder(QFileInfo(SettingsFile()).path());
}

void PrepareScreenShotFolder() {
  MakeUserFolder(ScreenShotFolder());
}

void PrepareKeptBoardFolder() {
  MakeUserFolder(QFileInfo(KeptBoard()).path());
}

QString PrepareBoardFolder() {
  return MakeFolder(BoardFolder());
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
