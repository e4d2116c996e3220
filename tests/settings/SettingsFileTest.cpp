#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <csignal>
#include <vector>

#include "IniTestFiles.h"
#include "platform/MessageBoxes.h"
#include "settings/SettingsFile.h"

namespace {

using namespace Qt::StringLiterals;

class SettingsFileTest : public ExeFolderTest {
 protected:
  void SetUp() override {
    ExeFolderTest::SetUp();
    SetMessageBoxHandler([this](const MessageBoxRequest& request) {
      boxes_.push_back(request);
      return BoxAnswer::Ok;
    });
  }
  void TearDown() override {
    SetMessageBoxHandler(nullptr);
    ExeFolderTest::TearDown();
  }
  void WriteSettingsFile(const QByteArray& bytes) { WriteBytes(Path("VezozazOption.ini"), bytes); }
  QByteArray SettingsFileBytes() const { return ReadBytes(Path("VezozazOption.ini")); }
  QString WriteError() const { return u"%1 に書き込めません."_s.arg(Path("VezozazOption.ini")); }

  std::vector<MessageBoxRequest> boxes_;
};

Settings AllOn() {
  return {true, true, true, true, true, true, true};
}
Settings AllOff() {
  return {false, false, false, false, false, false, false};
}

TEST_F(SettingsFileTest, PathIsBesideTheExecutable) {
  EXPECT_EQ(SettingsFilePath(), QDir(dir_.path()).filePath("VezozazOption.ini"));
}

TEST_F(SettingsFileTest, NoFileGivesTheDefaultsAndCreatesNothing) {
  const Settings settings = ReadSettings();
  EXPECT_TRUE(settings.Yogore);
  EXPECT_TRUE(settings.KyoriSeigen);
  EXPECT_TRUE(settings.RunWithDay);
  EXPECT_FALSE(settings.NewWithDay);
  EXPECT_TRUE(settings.ShowKona);
  EXPECT_FALSE(settings.KadoOnlyCtrl);
  EXPECT_FALSE(settings.ShowDebug);
  EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(SettingsFileTest, OneKeyOffTheRestDefault) {
  WriteSettingsFile("[Opt]\r\nYogore=0\r\n");
  Settings expected;
  expected.Yogore = false;
  EXPECT_EQ(ReadSettings(), expected);
}

TEST_F(SettingsFileTest, EveryKeyIsRead) {
  WriteSettingsFile(
      "[Opt]\r\nYogore=0\r\nKyoriSeigen=0\r\nRunWithDay=0\r\nNewWithDay=1\r\nShowKona=0\r\n"
      "KadoOnlyCtrl=1\r\nShowDebug=1\r\n");
  EXPECT_EQ(ReadSettings(), (Settings{false, false, false, true, false, true, true}));
}

TEST_F(SettingsFileTest, DebugValues) {
  for (const char* on : {"2", "0x1", "-1", "$1F"}) {
    WriteSettingsFile(QByteArray("[Opt]\r\nShowDebug=") + on + "\r\n");
    EXPECT_TRUE(ReadSettings().ShowDebug) << on;
  }
  for (const char* keeps : {"yes", "", "0x", "0", "0x0"}) {
    WriteSettingsFile(QByteArray("[Opt]\r\nShowDebug=") + keeps + "\r\n");
    EXPECT_FALSE(ReadSettings().ShowDebug) << keeps;
  }
}

TEST_F(SettingsFileTest, LowerCaseSectionAndKey) {
  WriteSettingsFile("[opt]\r\nshowkona=0\r\n");
  EXPECT_FALSE(ReadSettings().ShowKona);
}

TEST_F(SettingsFileTest, WritingANewFileGivesAllKeysInOrderThenMemory) {
  Settings memory;
  const Settings values{true, false, true, false, false, true, false};
  ASSERT_TRUE(WriteSettings(values, memory));
  EXPECT_EQ(memory, values);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(SettingsFileBytes(),
            "[Opt]\r\nYogore=1\r\nKyoriSeigen=0\r\nRunWithDay=1\r\nNewWithDay=0\r\n"
            "ShowKona=0\r\nKadoOnlyCtrl=1\r\nShowDebug=0\r\n");
  EXPECT_EQ(ReadSettings(), values);
}

TEST_F(SettingsFileTest, WritingKeepsOtherSectionsAndComments) {
  WriteSettingsFile(
      "; my settings\r\n[Window]\r\nLeft=10\r\n\r\n[OPT]\r\n; dust\r\nshowkona=1\r\nExtra=x\r\n"
      "\r\n[Last]\r\nY=2\r\n");
  Settings memory;
  ASSERT_TRUE(WriteSettings(AllOff(), memory));
  EXPECT_EQ(
      SettingsFileBytes(),
      "; my settings\r\n[Window]\r\nLeft=10\r\n\r\n[OPT]\r\n; dust\r\nshowkona=0\r\nExtra=x\r\n"
      "Yogore=0\r\nKyoriSeigen=0\r\nRunWithDay=0\r\nNewWithDay=0\r\nKadoOnlyCtrl=0\r\n"
      "ShowDebug=0\r\n\r\n[Last]\r\nY=2\r\n");
  EXPECT_EQ(memory, AllOff());
}

TEST_F(SettingsFileTest, Utf16LeSettingsFileStaysUtf16Le) {
  WriteSettingsFile(Utf16Le(u"; 設定\r\n[Opt]\r\nShowDebug=1\r\n"_s));
  Settings memory;
  ASSERT_TRUE(WriteSettings(Settings{}, memory));
  EXPECT_EQ(SettingsFileBytes(),
            Utf16Le(u"; 設定\r\n[Opt]\r\nShowDebug=0\r\nYogore=1\r\nKyoriSeigen=1\r\n"
                    u"RunWithDay=1\r\nNewWithDay=0\r\nShowKona=1\r\nKadoOnlyCtrl=0\r\n"_s));
}

TEST_F(SettingsFileTest, UnwritablePlaceShowsTheErrorAndKeepsMemory) {
  WriteBytes(Path("app"), "a file where the folder should be");
  SetExeDir(Path("app"));
  Settings memory;
  EXPECT_FALSE(WriteSettings(AllOff(), memory));
  EXPECT_EQ(memory, Settings{});
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].Text, u"%1 に書き込めません."_s.arg(Path("app") + "/VezozazOption.ini"));
  EXPECT_EQ(boxes_[0].Caption, ApplicationTitle());
  EXPECT_EQ(boxes_[0].Icon, BoxIcon::Stop);
  EXPECT_FALSE(boxes_[0].YesNo);
  EXPECT_FALSE(boxes_[0].OkCancel);
}

TEST_F(SettingsFileTest, ReadOnlyFolderShowsTheError) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: folder permissions do not stop writes";
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner));
  Settings memory;
  const bool written = WriteSettings(AllOff(), memory);
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_FALSE(written);
  EXPECT_EQ(memory, Settings{});
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].Text, WriteError());
  EXPECT_FALSE(QFile::exists(Path("VezozazOption.ini")));
}

// The disk refuses to grow the file past 40 bytes (as a full disk would): the first two keys
// fit, the third does not. Works for every user, root included.
TEST_F(SettingsFileTest, WritingStopsAtTheKeyThatFailsAndKeepsEarlierKeys) {
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 40;
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Settings memory;
  const bool written = WriteSettings(AllOff(), memory);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(memory, Settings{});
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].Text, WriteError());
  EXPECT_EQ(SettingsFileBytes(), "[Opt]\r\nYogore=0\r\nKyoriSeigen=0\r\n");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{"VezozazOption.ini"});
  Settings expected;
  expected.Yogore = expected.KyoriSeigen = false;
  EXPECT_EQ(ReadSettings(), expected);
}

TEST_F(SettingsFileTest, TheSameSettingsWrittenTwiceGiveTheSameFile) {
  Settings memory;
  ASSERT_TRUE(WriteSettings(AllOn(), memory));
  const QByteArray first = SettingsFileBytes();
  ASSERT_TRUE(WriteSettings(AllOn(), memory));
  EXPECT_EQ(SettingsFileBytes(), first);
  EXPECT_EQ(memory, AllOn());
}

}  // namespace
