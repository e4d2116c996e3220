#include <QDir>

#include "SettingsFixture.h"
#include "settings/SettingsFile.h"
#include "support/FileSizeLimit.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

class SettingsFileTest : public ExeFolderTest {
 protected:
  QString File() const { return Path("VezozazOption.ini"); }
  // The one box of a write that failed: the file's path, the title, the stop icon, OK only.
  void ExpectOneWriteError(const QString& file) const {
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Text, u"%1 に書き込めません."_s.arg(file));
    EXPECT_EQ(boxes_[0].Caption, ApplicationTitle());
    EXPECT_EQ(boxes_[0].Icon, BoxIcon::Stop);
    EXPECT_FALSE(boxes_[0].YesNo);
    EXPECT_FALSE(boxes_[0].OkCancel);
  }
};

const Settings AllOff{false, false, false, false, false, false, false};

// A missing file, section or key keeps the setting's default; nothing is created by reading.
TEST_F(SettingsFileTest, ReadingGivesEachKeyOrItsDefault) {
  const struct {
    const char* name;
    QByteArray bytes;  // null: no file
    Settings read;
  } cases[] = {
      {"no file gives the defaults", {}, {true, true, true, false, true, false, false}},
      {"one key off, the rest default",
       "[Opt]\r\nYogore=0\r\n",
       {false, true, true, false, true, false, false}},
      {"every key is read",
       "[Opt]\r\nYogore=0\r\nKyoriSeigen=0\r\nRunWithDay=0\r\nNewWithDay=1\r\nShowKona=0\r\n"
       "KadoOnlyCtrl=1\r\nShowDebug=1\r\n",
       {false, false, false, true, false, true, true}},
      {"lower-case section and key",
       "[opt]\r\nshowkona=0\r\n",
       {true, true, true, false, false, false, false}},
      {"any number but 0 is on",
       "[Opt]\r\nShowDebug=$1F\r\n",
       {true, true, true, false, true, false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(File());
    if (!c.bytes.isNull()) WriteBytes(File(), c.bytes);
    EXPECT_EQ(ReadSettings(), c.read);
    if (c.bytes.isNull()) {
      EXPECT_TRUE(QDir(dir_.path()).isEmpty());
    }
  }
}

// All seven keys go in order into section Opt, after what it already holds; every other line
// and the file's encoding stay, and the same settings written again give the same file.
TEST_F(SettingsFileTest, WritingGivesAllKeysInOrderAndKeepsTheRest) {
  const struct {
    const char* name;
    QByteArray before;  // null: no file
    Settings values;
    QByteArray after;
  } cases[] = {
      {"a new file",
       {},
       {true, false, true, false, false, true, false},
       "[Opt]\r\nYogore=1\r\nKyoriSeigen=0\r\nRunWithDay=1\r\nNewWithDay=0\r\nShowKona=0\r\n"
       "KadoOnlyCtrl=1\r\nShowDebug=0\r\n"},
      {"other sections and comments",
       "; my settings\r\n[Window]\r\nLeft=10\r\n\r\n[OPT]\r\n; dust\r\nshowkona=1\r\nExtra=x\r\n"
       "\r\n[Last]\r\nY=2\r\n",
       AllOff,
       "; my settings\r\n[Window]\r\nLeft=10\r\n\r\n[OPT]\r\n; dust\r\nshowkona=0\r\nExtra=x\r\n"
       "Yogore=0\r\nKyoriSeigen=0\r\nRunWithDay=0\r\nNewWithDay=0\r\nKadoOnlyCtrl=0\r\n"
       "ShowDebug=0\r\n\r\n[Last]\r\nY=2\r\n"},
      {"a UTF-16LE file stays UTF-16LE", Utf16Le(u"; 設定\r\n[Opt]\r\nShowDebug=1\r\n"_s),
       Settings{},
       Utf16Le(u"; 設定\r\n[Opt]\r\nShowDebug=0\r\nYogore=1\r\nKyoriSeigen=1\r\nRunWithDay=1\r\n"
               u"NewWithDay=0\r\nShowKona=1\r\nKadoOnlyCtrl=0\r\n"_s)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(File());
    if (!c.before.isNull()) WriteBytes(File(), c.before);
    Settings memory = AllOff;
    ASSERT_TRUE(WriteSettings(c.values, memory));
    EXPECT_EQ(memory, c.values);
    EXPECT_EQ(ReadBytes(File()), c.after);
    EXPECT_EQ(ReadSettings(), c.values);
    ASSERT_TRUE(WriteSettings(c.values, memory));
    EXPECT_EQ(ReadBytes(File()), c.after);
  }
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(SettingsFileTest, UnwritablePlaceShowsTheErrorAndKeepsMemory) {
  WriteBytes(Path("app"), "a file where the folder should be");
  SetExeDir(Path("app"));
  Settings memory;
  EXPECT_FALSE(WriteSettings(AllOff, memory));
  EXPECT_EQ(memory, Settings{});
  ExpectOneWriteError(Path("app") + "/VezozazOption.ini");
}

// A folder that takes no new file: read-only for a user, someone else's for root.
TEST_F(SettingsFileTest, ReadOnlyFolderShowsTheError) {
  Settings memory;
  bool written = true;
  {
    const NoNewFiles locked(dir_.path(), File());
    written = WriteSettings(AllOff, memory);
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(memory, Settings{});
  ExpectOneWriteError(File());
  EXPECT_FALSE(QFile::exists(File()));
}

// The disk refuses to grow the file past 40 bytes (as a full disk would): the first two keys
// fit, the third does not.
TEST_F(SettingsFileTest, WritingStopsAtTheKeyThatFailsAndKeepsEarlierKeys) {
  Settings memory;
  bool written = true;
  {
    const FileSizeLimit fullDisk(40);
    written = WriteSettings(AllOff, memory);
  }
  EXPECT_FALSE(written);
  EXPECT_EQ(memory, Settings{});
  ExpectOneWriteError(File());
  EXPECT_EQ(ReadBytes(File()), "[Opt]\r\nYogore=0\r\nKyoriSeigen=0\r\n");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{"VezozazOption.ini"});
  EXPECT_EQ(ReadSettings(), (Settings{false, false, true, false, true, false, false}));
}

}  // namespace

}  // namespace slatewick
