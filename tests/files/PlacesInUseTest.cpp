// Where the program's files live, in the portable layout (a folder beside the executable) and
// in the installed one (a share folder and the user's XDG folders), and that the places the
// program reads and writes follow them: settings, language, pictures, boards and screenshots.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "board/Board.h"
#include "files/BoardChooser.h"
#include "files/Export.h"
#include "platform/Clock.h"
#include "platform/Places.h"
#include "settings/Language.h"
#include "settings/SettingsFile.h"
#include "support/LanguageSeams.h"
#include "support/ProcessSeams.h"
#include "support/TestEnvironment.h"

namespace slatewick {

namespace {

using Places::Layout;

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(PlacesTest, PortableEverythingBesideTheExecutableAndTheSoundInTheCurrentFolder) {
  QTemporaryDir dir;
  const QString root = dir.path() + u'/';
  ProcessSeams seams(dir.path());
  EXPECT_EQ(Places::CurrentLayout(), Layout::Portable);
  EXPECT_EQ(Places::Picture(QStringLiteral("Chalk.bmp")), root + "Chalk.bmp");
  EXPECT_EQ(Places::TapSound(), QStringLiteral("start0.wav"));
  EXPECT_EQ(Places::LanguageFolder(), root);
  EXPECT_EQ(SettingsFilePath(), root + "VezozazOption.ini");
  EXPECT_EQ(BoardFolder(), root + "users/");
  EXPECT_EQ(Places::ScreenShotFolder(), root);
  EXPECT_EQ(Places::KeptBoard(), root + "LastBoard.bmp");  // beside users/, never listed there

  SetExeDir(root + "missing");  // the executable's folder is never made
  Places::PrepareSettingsFolder();
  Places::PrepareScreenShotFolder();
  EXPECT_TRUE(Entries(dir.path()).isEmpty());
}

// The installed layout with a share folder holding the data files and the XDG folders and
// home in a temporary folder.
class InstalledPlaces : public ::testing::Test {
 protected:
  void SetUp() override {
    seams_.SetEnv("XDG_CONFIG_HOME", Path("config").toLocal8Bit());
    seams_.SetEnv("XDG_DATA_HOME", Path("data").toLocal8Bit());
    seams_.SetEnv("XDG_STATE_HOME", Path("state").toLocal8Bit());
    seams_.SetEnv("HOME", Path("home").toLocal8Bit());
    seams_.UseRealUserFolders();
    QDir(dir_.path()).mkpath(QStringLiteral("share/slatewick"));
    for (const QString& name : QDir(QStringLiteral(ASSET_DIR)).entryList(QDir::Files))
      QFile::copy(QStringLiteral(ASSET_DIR "/") + name, Share() + name);
    SetInstalledShareDir(Share());
  }
  QString Root() const { return dir_.path(); }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QString Share() const { return Path("share/slatewick/"); }
  static qsizetype DataFileCount() {
    return QDir(QStringLiteral(ASSET_DIR)).entryList(QDir::Files).size();
  }
  // Neither HOME nor the XDG variables are set.
  void UnsetHome() {
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "HOME"})
      seams_.SetEnv(name, QByteArray());
  }

 private:
  QTemporaryDir dir_;

 protected:
  ProcessSeams seams_;
  std::vector<QString>& messages = seams_.messages;
};

TEST_F(InstalledPlaces, DataFromTheShareFolderUserFilesInTheXdgFolders) {
  EXPECT_EQ(Places::CurrentLayout(), Layout::Installed);
  EXPECT_EQ(Places::Picture(QStringLiteral("Moji.bmp")), Share() + "Moji.bmp");
  EXPECT_EQ(Places::TapSound(), Share() + "start0.wav");
  {
    const LanguageSeams japanese(1041);
    EXPECT_EQ(LanguageFilePath(), Share() + "Language_1041.ini");
  }
  EXPECT_EQ(SettingsFilePath(), Path("config/slatewick/VezozazOption.ini"));
  EXPECT_EQ(BoardFolder(), Path("data/slatewick/users/"));
  EXPECT_EQ(Places::ScreenShotFolder(), Path("home/Pictures/"));
  EXPECT_EQ(Places::KeptBoard(), Path("state/slatewick/LastBoard.bmp"));
  seams_.SetEnv("XDG_STATE_HOME", "state");  // not absolute: ignored
  EXPECT_EQ(Places::KeptBoard(), Path("home/.local/state/slatewick/LastBoard.bmp"));
  EXPECT_EQ(Entries(Root()), QStringList{"share"});  // asking makes no folder
}

TEST_F(InstalledPlaces, StartsFromTheShareFolderWhateverTheCurrentFolder) {
  seams_.SetCurrentFolder(Root());  // no sound here
  TestEnvironment test;
  Board frm(test.env);
  frm.Start();
  frm.AfterShown();
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(test.sound.prepared.size(), 1u);
  EXPECT_TRUE(test.sound.prepared[0].startsWith("RIFF"));
  EXPECT_EQ(frm.Pictures().glyphs.width(), 512);
}

TEST_F(InstalledPlaces, SettingsBoardsAndScreenshotsMakeTheirFoldersWhenWritten) {
  const Settings chosen{false, true, false, true, true, false, true};
  Settings memory;
  ASSERT_TRUE(WriteSettings(chosen, memory));
  EXPECT_TRUE(QFile::exists(Path("config/slatewick/VezozazOption.ini")));
  EXPECT_EQ(ReadSettings(), chosen);

  TestEnvironment test;
  Board frm(test.env);
  BoardChooser files(frm);
  files.Mode = BoardChooser::ChooserMode::Store;
  files.OnShow();
  EXPECT_TRUE(QDir(Path("data/slatewick/users")).exists());

  test.clock.now = QDateTime(QDate(2026, 12, 6), QTime(19, 26, 11, 123));
  TakeScreenShot(frm);
  EXPECT_EQ(Entries(Path("home/Pictures")), QStringList{"2026_12_06_19_26_11_123.jpg"});
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Entries(Share()).size(), DataFileCount());  // nothing written beside the data
}

// Without HOME the user folders lie in the home folder of the password database.
TEST_F(InstalledPlaces, WithoutHomeTheUserFoldersAreInThePasswordDatabasesHome) {
  UnsetHome();
  const passwd* user = getpwuid(geteuid());
  ASSERT_NE(user, nullptr);
  const QString home = QFile::decodeName(user->pw_dir);
  EXPECT_EQ(SettingsFilePath(), home + "/.config/slatewick/VezozazOption.ini");
  EXPECT_EQ(BoardFolder(), home + "/.local/share/slatewick/users/");
  EXPECT_EQ(Places::KeptBoard(), home + "/.local/state/slatewick/LastBoard.bmp");
}

// A user without HOME and without a home in the password database: every write fails with its
// error box, and nothing is made in "/", not even by root.
TEST_F(InstalledPlaces, AUserWithoutAnyHomeWritesNothing) {
  constexpr uid_t Homeless = 54321;
  if (geteuid() != 0 || getpwuid(Homeless) || QFileInfo::exists(QStringLiteral("/nonexistent")))
    GTEST_SKIP() << "needs root and a user id without a home";
  UnsetHome();
  const QStringList rootBefore = Entries(QStringLiteral("/"));
  ASSERT_EQ(seteuid(Homeless), 0);
  const QString settings = SettingsFilePath();
  ASSERT_EQ(seteuid(0), 0);
  EXPECT_EQ(settings, QStringLiteral("/nonexistent/.config/slatewick/VezozazOption.ini"));

  Settings memory;
  EXPECT_FALSE(WriteSettings(Settings{}, memory));
  TestEnvironment test;
  Board frm(test.env);
  BoardChooser files(frm);
  files.Mode = BoardChooser::ChooserMode::Store;
  files.OnShow();
  files.TitleEdit.Text = QStringLiteral("board");
  files.Accept();
  TakeScreenShot(frm);
  EXPECT_EQ(messages.size(), 3u);
  EXPECT_EQ(Entries(QStringLiteral("/")), rootBefore);
}

}  // namespace

}  // namespace slatewick
