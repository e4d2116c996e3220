#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <utility>
#include <vector>

#include "SettingsFixture.h"
#include "settings/IniFile.h"
#include "support/FileSizeLimit.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

ino_t Inode(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

using IniWriteTest = ExeFolderTest;

TEST_F(IniWriteTest, MissingFileIsCreatedAsEightBitTextWithCrLf) {
  IniFile ini(Path("new.ini"), 1252);
  EXPECT_FALSE(QFile::exists(Path("new.ini")));
  ASSERT_TRUE(ini.WriteBool(u"Opt", u"Yogore", true));
  EXPECT_EQ(ReadBytes(Path("new.ini")), "[Opt]\r\nYogore=1\r\n");
  ASSERT_TRUE(ini.WriteBool(u"Opt", u"KyoriSeigen", false));
  EXPECT_EQ(ReadBytes(Path("new.ini")), "[Opt]\r\nYogore=1\r\nKyoriSeigen=0\r\n");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"new.ini"});
}

// A file as it was, the keys written into one of its sections, and the file afterwards: every
// line that the writes do not touch keeps its bytes and its line end.
struct EditCase {
  const char* name;
  QByteArray before;
  std::vector<std::pair<const char16_t*, bool>> keys;
  QByteArray after;
  const char16_t* section = u"Opt";
  int codePage = 1252;
};

TEST_F(IniWriteTest, EditsChangeOnlyTheirLines) {
  const QByteArray utf8 = u"[Opt]\r\n; 黒板\r\n"_s.toUtf8();
  const EditCase cases[] = {
      {"an existing key keeps its place and spelling",
       "; head\r\n[opt]\r\nA=1\r\nshowkona = yes  \r\nB=2\r\n[Other]\r\nShowKona=7\r\n",
       {{u"ShowKona", false}},
       "; head\r\n[opt]\r\nA=1\r\nshowkona = 0\r\nB=2\r\n[Other]\r\nShowKona=7\r\n"},
      {"an empty value is filled in",
       "[Opt]\r\nYogore=\r\nX=1\r\n",
       {{u"Yogore", true}},
       "[Opt]\r\nYogore=1\r\nX=1\r\n"},
      {"a new key goes at the end of its section",
       "[Opt]\r\nA=1\r\n; last word\r\n\r\n[Other]\r\nX=1\r\n",
       {{u"ShowDebug", true}},
       "[Opt]\r\nA=1\r\n; last word\r\nShowDebug=1\r\n\r\n[Other]\r\nX=1\r\n"},
      {"a new key in an empty section",
       "[Opt]\r\n[Other]\r\n",
       {{u"ShowDebug", false}},
       "[Opt]\r\nShowDebug=0\r\n[Other]\r\n"},
      {"a new key after a last line without line end",
       "[Opt]\r\nA=1",
       {{u"B", false}},
       "[Opt]\r\nA=1\r\nB=0\r\n"},
      {"a missing section is appended at the end",
       "; c\r\n[Other]\r\nX=1\r\n\r\n",
       {{u"Yogore", true}, {u"ShowKona", false}},
       "; c\r\n[Other]\r\nX=1\r\n\r\n[Opt]\r\nYogore=1\r\nShowKona=0\r\n"},
      {"a missing section after a last line without line end",
       "[Other]\r\nX=1",
       {{u"Yogore", true}},
       "[Other]\r\nX=1\r\n[Opt]\r\nYogore=1\r\n"},
      {"a missing section in an empty file", "", {{u"Yogore", true}}, "[Opt]\r\nYogore=1\r\n"},
      {"only the first of two sections of the same name changes",
       "[Opt]\r\nA=1\r\n[OPT]\r\nB=1\r\n",
       {{u"B", false}},
       "[Opt]\r\nA=1\r\nB=0\r\n[OPT]\r\nB=1\r\n"},
      {"LF line ends are kept",
       "[Other]\nX=1\n",
       {{u"Yogore", true}},
       "[Other]\nX=1\n[Opt]\nYogore=1\n"},
      {"CR line ends are kept", "[Opt]\rA=1\r", {{u"B", true}}, "[Opt]\rA=1\rB=1\r"},
      {"Shift-JIS lines keep their bytes",
       "; \x8D\x95\x94\xC2\r\n[Opt]\r\nMemo=\x95\x5C\r\nShowKona=1\r\n",
       {{u"ShowKona", false}, {u"Yogore", true}},
       "; \x8D\x95\x94\xC2\r\n[Opt]\r\nMemo=\x95\x5C\r\nShowKona=0\r\nYogore=1\r\n",
       u"Opt",
       932},
      {"a UTF-8 mark and text are kept",
       "\xEF\xBB\xBF" + utf8,
       {{u"Yogore", true}},
       "\xEF\xBB\xBF" + utf8 + "Yogore=1\r\n"},
      {"a new section's name in UTF-8",
       utf8,
       {{u"Yogore", true}},
       utf8 + u"[設定]\r\nYogore=1\r\n"_s.toUtf8(),
       u"設定"},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(Path("t.ini"), c.before);
    IniFile ini(Path("t.ini"), c.codePage);
    for (const auto& [key, value] : c.keys) EXPECT_TRUE(ini.WriteBool(c.section, key, value));
    EXPECT_EQ(ReadBytes(Path("t.ini")), c.after);
  }
}

// In an 8-bit file each line reads as UTF-8 when it is valid UTF-8, else in the code page; text
// goes into a line in the encoding it was read in, so no other line reads otherwise afterwards,
// even when the write removes the file's only byte that is not UTF-8.
TEST_F(IniWriteTest, TextKeepsTheEncodingOfItsLine) {
  const QByteArray mixed = "[Opt]\r\nMemo=\xE9\r\nNote=\xC3\xA9\r\n";
  const struct {
    const char* name;
    QByteArray before;
    const char16_t* key;
    QString value;
    QByteArray after;
    int codePage = 1252;
  } cases[] = {
      {"a code-page line", mixed, u"Memo", u"Ä"_s, "[Opt]\r\nMemo=\xC4\r\nNote=\xC3\xA9\r\n"},
      {"a UTF-8 line", mixed, u"Note", u"Ä"_s, "[Opt]\r\nMemo=\xE9\r\nNote=\xC3\x84\r\n"},
      {"the only byte that is not UTF-8", mixed, u"Memo", "0",
       "[Opt]\r\nMemo=0\r\nNote=\xC3\xA9\r\n"},
      {"code-page bytes that would read as UTF-8", mixed, u"Memo", u"Ã©"_s,
       "[Opt]\r\nMemo=\xC3\x83\xC2\xA9\r\nNote=\xC3\xA9\r\n"},
      {"a new line beside Shift-JIS", "[Opt]\r\nMemo=\x95\x5C\r\n", u"Neu", u"表"_s,
       "[Opt]\r\nMemo=\x95\x5C\r\nNeu=\x95\x5C\r\n", 932},
      {"a value cut at its line break", "", u"Memo", "a\r\nb=1", "[Opt]\r\nMemo=a\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto others = [&c](const IniFile& ini) {
      QStringList texts;
      for (const char16_t* key : {u"Memo", u"Note", u"Neu"})
        texts << (QStringView(key) == c.key ? QString() : ini.ReadString(u"Opt", key, "-"));
      return texts;
    };
    WriteBytes(Path("t.ini"), c.before);
    IniFile ini(Path("t.ini"), c.codePage);
    const QStringList before = others(ini);
    ASSERT_TRUE(ini.WriteString(u"Opt", c.key, c.value));
    EXPECT_EQ(ReadBytes(Path("t.ini")), c.after);
    const IniFile reread(Path("t.ini"), c.codePage);
    EXPECT_EQ(reread.ReadString(u"Opt", c.key, "-"), c.value.left(c.value.indexOf(u'\r')));
    EXPECT_EQ(others(reread), before);
  }
}

TEST_F(IniWriteTest, Utf16LeFileStaysUtf16LeWithEveryOtherByteUnchanged) {
  const QString before =
      u"; 黒板の設定\r\n[Opt]\r\nYogore = 1\r\nメモ=そのまま\r\n\r\n[その他]\r\n値=𠮷\r\n"_s;
  const QString after =
      u"; 黒板の設定\r\n[Opt]\r\nYogore = "
      u"0\r\nメモ=そのまま\r\nShowKona=1\r\n\r\n[その他]\r\n値=𠮷\r\n"
      u"[追加]\r\nNeu=0\r\n"_s;
  WriteBytes(Path("t.ini"), Utf16Le(before));
  IniFile ini(Path("t.ini"), 932);
  ASSERT_TRUE(ini.WriteBool(u"Opt", u"Yogore", false));
  ASSERT_TRUE(ini.WriteBool(u"opt", u"ShowKona", true));
  ASSERT_TRUE(ini.WriteBool(u"追加", u"Neu", false));
  EXPECT_EQ(ReadBytes(Path("t.ini")), Utf16Le(after));
  const IniFile reread(Path("t.ini"), 1252);
  EXPECT_EQ(reread.ReadString(u"その他", u"値", "d"), u"𠮷"_s);
  EXPECT_FALSE(reread.ReadBool(u"Opt", u"Yogore", true));
}

TEST_F(IniWriteTest, UnwritablePlaceFailsAndCreatesNothing) {
  WriteBytes(Path("plain"), "not a folder");
  IniFile ini(Path("plain") + "/t.ini", 1252);
  EXPECT_FALSE(ini.WriteBool(u"Opt", u"Yogore", true));
  EXPECT_EQ(ReadBytes(Path("plain")), "not a folder");
}

// The file is replaced, not recreated: it keeps its permissions, and a link to it stays a link.
TEST_F(IniWriteTest, TheFileKeepsItsPermissionsAndItsLink) {
  WriteBytes(Path("real.ini"), "[Opt]\r\nYogore=1\r\n");
  ASSERT_TRUE(QFile::setPermissions(Path("real.ini"), QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ReadGroup | QFile::ReadOther));
  ASSERT_TRUE(QFile::link(Path("real.ini"), Path("t.ini")));
  IniFile ini(Path("t.ini"), 1252);
  ASSERT_TRUE(ini.WriteBool(u"Opt", u"Yogore", false));
  EXPECT_TRUE(QFileInfo(Path("t.ini")).isSymLink());
  EXPECT_EQ(ReadBytes(Path("real.ini")), "[Opt]\r\nYogore=0\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(Path("real.ini")).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"real.ini", "t.ini"}));
}

TEST_F(IniWriteTest, AFolderThatTakesNoNewFileGetsTheFileRewrittenInPlace) {
  WriteBytes(Path("t.ini"), "; keep\r\n[Opt]\r\nYogore = yes  \r\n");
  const ino_t inode = Inode(Path("t.ini"));
  {
    const NoNewFiles locked(dir_.path(), Path("t.ini"));
    IniFile ini(Path("t.ini"), 1252);
    EXPECT_TRUE(ini.WriteBool(u"Opt", u"Yogore", false));   // the file gets shorter
    EXPECT_TRUE(ini.WriteBool(u"Opt", u"ShowKona", true));  // and longer
  }
  EXPECT_EQ(ReadBytes(Path("t.ini")), "; keep\r\n[Opt]\r\nYogore = 0\r\nShowKona=1\r\n");
  EXPECT_EQ(Inode(Path("t.ini")), inode);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"t.ini"});
}

// The disk is full just when the file is rewritten in place: the write fails before it has
// changed a byte, and the file keeps every one of them.
TEST_F(IniWriteTest, AFullDiskDuringARewriteInPlaceLeavesTheFileAsItWas) {
  const QByteArray old = "; keep\r\n[Opt]\r\nYogore=1\r\n; the end\r\n";
  WriteBytes(Path("t.ini"), old);
  {
    const NoNewFiles locked(dir_.path(), Path("t.ini"));
    const FileSizeLimit fullDisk(rlim_t(old.size()) + 4);
    IniFile ini(Path("t.ini"), 1252);
    EXPECT_FALSE(ini.WriteBool(u"Opt", u"ShowKona", false));
  }
  EXPECT_EQ(ReadBytes(Path("t.ini")), old);
}

}  // namespace

}  // namespace slatewick
