#include <QDir>
#include <random>

#include "SettingsFixture.h"
#include "settings/IniFile.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

class IniReadTest : public ExeFolderTest {
 protected:
  IniFile Open(const QByteArray& bytes, int codePage = 1252) {
    WriteBytes(Path("t.ini"), bytes);
    return IniFile(Path("t.ini"), codePage);
  }
};

TEST_F(IniReadTest, SectionAndKeyMatchWithoutRegardToCase) {
  const IniFile ini = Open("[opt]\r\nshowkona=0\r\n[MAINMENU]\r\nALLDEL=Clear\r\n");
  EXPECT_EQ(ini.ReadString(u"Opt", u"ShowKona", "d"), "0");
  EXPECT_EQ(ini.ReadString(u"mainmenu", u"AllDel", "d"), "Clear");
  EXPECT_EQ(ini.ReadString(u"Opt", u"AllDel", "d"), "d");
  EXPECT_EQ(ini.ReadString(u"Nope", u"ShowKona", "d"), "d");
}

// Blanks around names and values are dropped: tab, LF, VT, FF, CR, space and ^Z are the
// blanks; other spaces are text.
TEST_F(IniReadTest, OnlyTheSevenBlanksAroundNamesAndValuesAreDropped) {
  EXPECT_EQ(Open("  [ Opt ]  \r\n\t Key  =   some  value \t \r\n").ReadString(u"Opt", u"Key", "d"),
            "some  value");
  const IniFile ini =
      Open("\x1A[\x0B Opt \x1A]\x0C\r\n\x0C Key \x1A=\x0B\t value \x0B\x0C\x1A\r\n");
  EXPECT_EQ(ini.ReadString(u"Opt", u"Key", "d"), "value");
  const QString text =
      u"[\u3000Opt]\r\n\u3000Key\u00A0=\u3000値\u00A0\r\nA=\u2003\r\nB=\u0085\r\n"_s;
  for (const QByteArray& bytes : {Utf16Le(text), text.toUtf8()}) {
    const IniFile wide = Open(bytes, 932);
    EXPECT_EQ(wide.ReadString(u"Opt", u"Key", "d"), "d");
    EXPECT_EQ(wide.ReadString(u"\u3000Opt", u"\u3000Key\u00A0", "d"), u"\u3000値\u00A0"_s);
    EXPECT_EQ(wide.ReadString(u"\u3000Opt", u"A", "d"), u"\u2003"_s);
    EXPECT_EQ(wide.ReadString(u"\u3000Opt", u"B", "d"), u"\u0085"_s);
  }
  EXPECT_EQ(Open("[S]\r\nK=\xA0x\xA0\r\n", 1252).ReadString(u"S", u"K", "d"), u"\u00A0x\u00A0"_s);
}

// A NUL ends a section name, a key name or a value, in every encoding.
TEST_F(IniReadTest, ANulEndsNamesAndValues) {
  static const char raw[] = "[Op\0t]\r\nKe\0y=val\0ue\r\nQ=\"quoted\0\" \r\nE=\0rest\r\n";
  const QByteArray bytes(raw, sizeof raw - 1);
  for (const QByteArray& file : {bytes, Utf16Le(QString::fromLatin1(bytes))}) {
    for (int codePage : {932, 1252}) {
      const IniFile ini = Open(file, codePage);
      EXPECT_EQ(ini.ReadString(u"Op", u"Ke", "d"), "val");
      EXPECT_EQ(ini.ReadString(u"Op", u"Q", "d"), "\"quoted");
      EXPECT_EQ(ini.ReadString(u"Op", u"E", "d"), "");
      EXPECT_EQ(ini.ReadString(u"Opt", u"Key", "d"), "d");
    }
  }
}

// One value as written after "K=" in section S of a file in a code page, and as read.
struct ValueCase {
  const char* name;
  QByteArray written;
  QString read;
  int codePage = 1252;
};

TEST_F(IniReadTest, ValuesAsWrittenAndAsRead) {
  const ValueCase cases[] = {
      {"empty value is not missing", "", ""},
      {"blank value is empty", "   ", ""},
      // One pair of matching quotes is removed.
      {"double quotes", "\"quoted\"", "quoted"},
      {"single quotes", "'single'", "single"},
      {"opening quote alone", "\"one-sided", "\"one-sided"},
      {"closing quote alone", "one-sided\"", "one-sided\""},
      {"quotes that differ", "\"mixed'", "\"mixed'"},
      {"two quotes", "\"\"", ""},
      {"one quote", "\"", "\""},
      {"blanks inside quotes", "\" inner \"", " inner "},
      {"quotes twice", "\"\"twice\"\"", "\"twice\""},
      // Values are cut after 2047 characters.
      {"2047 characters", QByteArray(2047, 'a'), QString(2047, u'a')},
      {"longer", QByteArray(2047, 'b') + "cdef", QString(2047, u'b')},
      {"longer in quotes", "\"" + QByteArray(2047, 'q') + "z\"", QString(2047, u'q')},
      {"western text in 1252", "caf\xE9 \x80", u"café €"_s},
      // Bytes read as Windows reads them (see CodePageTest); what the code page cannot decode
      // reads as its default character: the katakana middle dot for Japanese (932), "?" for
      // the others.
      {"single bytes that Windows maps in 932", "\x80\xA0\xFD\xFE\xFF",
       u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"_s, 932},
      {"^Z after a value in 932 is a blank", "1\x1A", "1", 932},
      {"a lead byte before the line end in 932", "x\x83", u"x・"_s, 932},
      {"an undecodable pair in 932", "\x85\x40y", u"・y"_s, 932},
      {"a lead byte before '=' in 932", "\x81=", u"・="_s, 932},
      {"bytes that Windows passes through in 1252", "\x81\x8D\x8F\x90\x9D\x80",
       u"\u0081\u008D\u008F\u0090\u009D€"_s},
      {"bytes that Windows maps in 1253", "\xD2\xFF\xE1", u"\uF8FA\uF8FBα"_s, 1253},
      {"undecodable in 936", "\x80\x81\x30", u"€?0"_s, 936},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.name);
    const IniFile ini = Open("[S]\r\nK=" + c.written + "\r\n", c.codePage);
    EXPECT_EQ(ini.ReadString(u"S", u"K", "d"), c.read);
  }
}

TEST_F(IniReadTest, CommentsDuplicatesAndKeysOutsideSections) {
  const IniFile ini = Open(
      "Lost=1\r\n[S]\r\n;Key=comment\r\nKey=first\r\nKey=second\r\nNoEquals\r\n"
      "[Other]\r\nX=1\r\n[s]\r\nLate=1\r\nKey=third\r\n");
  EXPECT_EQ(ini.ReadString(u"S", u"Key", "d"), "first");
  EXPECT_EQ(ini.ReadString(u"S", u";Key", "d"), "d");
  EXPECT_EQ(ini.ReadString(u"S", u"NoEquals", "d"), "d");
  EXPECT_EQ(ini.ReadString(u"S", u"Late", "d"), "d");
  EXPECT_EQ(ini.ReadString(u"", u"Lost", "d"), "d");
}

TEST_F(IniReadTest, BooleansFollowTheIntegerRules) {
  const IniFile ini = Open(
      "[S]\r\nTwo=2\r\nMinus=-1\r\nHex=0x10\r\nHexOne=0x1\r\nUpperHex=0X1f\r\nDollar=$1F\r\n"
      "Plus=+3\r\nQuoted=\"1\"\r\nZero=0\r\nHexZero=0x0\r\nDollarZero=$0\r\nMinusZero=-0\r\n"
      "Yes=yes\r\nTrue=true\r\nEmpty=\r\nBareHex=0x\r\nBareDollar=$\r\nFraction=1.5\r\n"
      "Huge=99999999999\r\nSpaced=1 2\r\nSign=-\r\nBadHex=0xG\r\n");
  for (const char16_t* key :
       {u"Two", u"Minus", u"Hex", u"HexOne", u"UpperHex", u"Dollar", u"Plus", u"Quoted"}) {
    EXPECT_TRUE(ini.ReadBool(u"S", key, false)) << QString::fromUtf16(key).toStdString();
  }
  for (const char16_t* key : {u"Zero", u"HexZero", u"DollarZero", u"MinusZero"})
    EXPECT_FALSE(ini.ReadBool(u"S", key, true)) << QString::fromUtf16(key).toStdString();
  for (const char16_t* key : {u"Yes", u"True", u"Empty", u"BareHex", u"BareDollar", u"Fraction",
                              u"Huge", u"Spaced", u"Sign", u"BadHex", u"Missing"}) {
    EXPECT_TRUE(ini.ReadBool(u"S", key, true)) << QString::fromUtf16(key).toStdString();
    EXPECT_FALSE(ini.ReadBool(u"S", key, false)) << QString::fromUtf16(key).toStdString();
  }
}

TEST(IniToIntTest, RangesAndPrefixes) {
  EXPECT_EQ(IniToInt(u"2147483647"), 2147483647);
  EXPECT_EQ(IniToInt(u"-2147483648"), INT32_MIN);
  EXPECT_EQ(IniToInt(u"2147483648"), std::nullopt);
  EXPECT_EQ(IniToInt(u"$FFFFFFFF"), -1);
  EXPECT_EQ(IniToInt(u"$100000000"), std::nullopt);
  EXPECT_EQ(IniToInt(u"0x00000000FF"), 255);
  EXPECT_EQ(IniToInt(u"0x"), std::nullopt);
  EXPECT_EQ(IniToInt(u"00"), 0);
  EXPECT_EQ(IniToInt(u"-$1"), std::nullopt);
  EXPECT_EQ(IniToInt(u"１"), std::nullopt);  // a full-width digit is no digit here
}

TEST_F(IniReadTest, Utf16LeFileWithByteOrderMark) {
  const IniFile ini =
      Open(Utf16Le(u"; 日本語\r\n[MainMenu]\r\nLoad = 黒板を読み込む(&L)\r\n"_s), 1252);
  EXPECT_EQ(ini.ReadString(u"mainmenu", u"load", "d"), u"黒板を読み込む(&L)"_s);
}

TEST_F(IniReadTest, Utf8FilesWithAndWithoutMark) {
  const QByteArray body = u"[S]\r\nText=黒板 café\r\n"_s.toUtf8();
  EXPECT_EQ(Open("\xEF\xBB\xBF" + body, 932).ReadString(u"S", u"Text", "d"), u"黒板 café"_s);
  EXPECT_EQ(Open(body, 932).ReadString(u"S", u"Text", "d"), u"黒板 café"_s);
  EXPECT_EQ(Open(body, 1252).ReadString(u"S", u"Text", "d"), u"黒板 café"_s);
}

TEST_F(IniReadTest, ShiftJisFileInCodePage932) {
  // "[ソ]" whose second byte is "\", and "表黒板": bytes that look like ASCII inside characters.
  const IniFile ini = Open("[\x83\x5C]\r\nKey=\x95\x5C\x8D\x95\x94\xC2\r\n", 932);
  EXPECT_EQ(ini.ReadString(u"ソ", u"Key", "d"), u"表黒板"_s);
}

TEST_F(IniReadTest, LineEndsCrLfLfAndCr) {
  const IniFile ini = Open("[A]\nX=1\n[B]\rY=2\r[C]\r\nZ=3");
  EXPECT_EQ(ini.ReadString(u"A", u"X", "d"), "1");
  EXPECT_EQ(ini.ReadString(u"B", u"Y", "d"), "2");
  EXPECT_EQ(ini.ReadString(u"C", u"Z", "d"), "3");
}

TEST_F(IniReadTest, NoFileOrAFolderInItsPlaceGivesDefaults) {
  const IniFile none(Path("none.ini"), 1252);
  EXPECT_EQ(none.ReadString(u"S", u"K", "d"), "d");
  EXPECT_FALSE(QFile::exists(Path("none.ini")));
  ASSERT_TRUE(QDir(dir_.path()).mkdir("folder.ini"));
  IniFile ini(Path("folder.ini"), 1252);
  EXPECT_EQ(ini.ReadString(u"S", u"K", "d"), "d");
  EXPECT_FALSE(ini.WriteBool(u"S", u"K", true));
}

TEST_F(IniReadTest, MalformedInputNeverBreaksTheReader) {
  std::mt19937 random(20240607);
  static const char chars[] = "[]=;\"'\r\n \t\x00\xFF\xFE\x81\x5C\xEF\xBB\xBFxyz";
  const QByteArray alphabet(chars, sizeof chars - 1);
  for (int round = 0; round < 40; ++round) {
    QByteArray bytes(50000 + round, Qt::Uninitialized);
    for (char& b : bytes)
      b = round % 2 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
    if (round % 4 == 1) bytes.replace(0, 2, QByteArray("\xFF\xFE", 2));
    IniFile ini = Open(bytes, round % 3 ? 932 : 1252);
    ini.ReadString(u"xyz", u"xyz", "d");
    ini.ReadBool(u"x", u"y", true);
    ASSERT_TRUE(ini.WriteBool(u"Opt", u"ShowKona", round % 2));
    EXPECT_EQ(ini.ReadBool(u"Opt", u"ShowKona", !(round % 2)), round % 2 == 1);
  }
}

TEST_F(IniReadTest, HugeFileReadsAsMissingAndIsNeverOverwritten) {
  QByteArray bytes = "[Opt]\r\nShowKona=0\r\n" + QByteArray(IniFile::MaxFileSize, ';');
  IniFile ini = Open(bytes);
  EXPECT_TRUE(ini.ReadBool(u"Opt", u"ShowKona", true));
  EXPECT_FALSE(ini.WriteBool(u"Opt", u"ShowKona", true));
  EXPECT_EQ(ReadBytes(Path("t.ini")), bytes);
}

TEST_F(IniReadTest, OneEndlessLine) {
  const IniFile ini = Open("[S]\r\nK=" + QByteArray(3'000'000, '['));
  EXPECT_EQ(ini.ReadString(u"S", u"K", "d"), QString(2047, u'['));
}

}  // namespace

}  // namespace slatewick
