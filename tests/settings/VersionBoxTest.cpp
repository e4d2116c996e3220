// The version box: its text, the author line read at each opening, and the box itself.
#include <optional>
#include <utility>

#include "SettingsFixture.h"
#include "settings/VersionBox.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

const QString kJapaneseCredit = u"制作：Slatewick 開発チーム"_s;
const QString kLatinCredit = u"Made by the Slatewick team"_s;

// Boxes are recorded, not shown; the language files are the test's own.
class VersionBox : public ExeFolderTest {
 protected:
  void SetUp() override {
    ExeFolderTest::SetUp();
    SetApplicationTitle(u"Slatewick 2"_s);
  }
  void TearDown() override {
    SetProgramVersion(std::nullopt);
    ExeFolderTest::TearDown();
  }
  QString Opened() {
    boxes_.clear();
    ShowVersionBox();
    EXPECT_EQ(boxes_.size(), 1u);
    return boxes_.empty() ? QString() : boxes_.back().Text;
  }
};

}  // namespace

// The lines after the program's name: "Ver. " + major "." minor release (the release number
// runs on behind the minor, the build is left out), the credit line (Japanese for 1041, Latin
// for every other locale) and, with an author, "LanguageResource written by " + author.
TEST(VersionText, LinesForEachVersionLocaleAndAuthor) {
  const QString& ja = kJapaneseCredit;
  const QString& latin = kLatinCredit;
  const QString by = u"LanguageResource written by "_s;
  const struct {
    const char* name;
    VersionNumbers version;
    int lcid;
    QString author;
    QStringList lines;
  } cases[] = {
      {"2.0.0, Japanese", {2, 0, 0, 0}, 1041, {}, {"Ver. 2.00", ja}},
      {"2.1.5, Japanese", {2, 1, 5, 0}, 1041, {}, {"Ver. 2.15", ja}},
      {"2.1.12, Japanese", {2, 1, 12, 0}, 1041, {}, {"Ver. 2.112", ja}},
      {"the build is left out", {2, 1, 12, 7}, 1041, {}, {"Ver. 2.112", ja}},
      {"2.0.0, US English", {2, 0, 0, 0}, 1033, {}, {"Ver. 2.00", latin}},
      {"2.1.5, US English", {2, 1, 5, 0}, 1033, {}, {"Ver. 2.15", latin}},
      {"2.1.12, US English", {2, 1, 12, 0}, 1033, {}, {"Ver. 2.112", latin}},
      {"German", {2, 0, 0, 0}, 1031, {}, {"Ver. 2.00", latin}},
      {"British English", {2, 0, 0, 0}, 2057, {}, {"Ver. 2.00", latin}},
      {"author, 1041", {2, 0, 0, 0}, 1041, u"山田 花子"_s, {"Ver. 2.00", ja, by + u"山田 花子"_s}},
      {"author, 1033", {2, 1, 12, 0}, 1033, "Jane Doe", {"Ver. 2.112", latin, by + "Jane Doe"}},
      {"author of one letter", {2, 1, 5, 0}, 1033, "J", {"Ver. 2.15", latin, by + "J"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VersionText(c.version, c.lcid, c.author), "Slatewick 2\r" + c.lines.join(u'\r'));
    EXPECT_EQ(CreditLine(c.lcid), c.lines[1]);
  }
}

TEST(FileVersion, SplitsAtTheDots) {
  EXPECT_EQ(ParseFileVersion(u"2.0.0.0"), (VersionNumbers{2, 0, 0, 0}));
  EXPECT_EQ(ParseFileVersion(u"2.1.12.0"), (VersionNumbers{2, 1, 12, 0}));
  EXPECT_EQ(ParseFileVersion(u"3.4.5.6.7"), (VersionNumbers{3, 4, 5, 6}));
  EXPECT_EQ(ParseFileVersion(u"2.1"), (VersionNumbers{2, 1, 0, 0}));
  EXPECT_EQ(ParseFileVersion(u""), (VersionNumbers{}));
}

// The box, a plain one with the title, shows the program's version and the author from the
// language file of the user's locale (Language_1041.ini for 1041, else Language.ini).
TEST_F(VersionBox, ShowsTheVersionAndTheAuthorOfTheLanguageFile) {
  const QString& ja = kJapaneseCredit;
  const QString& latin = kLatinCredit;
  const QString by = u"LanguageResource written by "_s;
  const QByteArray jane = "[General]\r\nLanguageAuthor=Jane Doe\r\n";
  const QByteArray yamada = u"[General]\r\nLanguageAuthor=山田 花子\r\n"_s.toUtf8();
  const QByteArray lowerCase = "[general]\r\nlanguageauthor=Jane Doe\r\n";
  const QByteArray noAuthor = "[General]\r\nLanguageAuthor=\r\n";
  const struct {
    const char* name;
    QByteArray general, japanese;  // Language.ini and Language_1041.ini; null: no file
    int lcid;
    std::optional<VersionNumbers> version;  // none: the build's
    QStringList lines;
  } cases[] = {
      {"no language file", {}, {}, 1041, {}, {"Ver. 2.00", ja}},
      {"the Japanese file for 1041",
       jane,
       yamada,
       1041,
       {},
       {"Ver. 2.00", ja, by + u"山田 花子"_s}},
      {"the general file for 1033", jane, yamada, 1033, {}, {"Ver. 2.00", latin, by + "Jane Doe"}},
      {"lower-case names, 1041", lowerCase, {}, 1041, {}, {"Ver. 2.00", ja, by + "Jane Doe"}},
      {"lower-case names, 1033", lowerCase, {}, 1033, {}, {"Ver. 2.00", latin, by + "Jane Doe"}},
      {"an empty author gives no fourth line", noAuthor, {}, 1033, {}, {"Ver. 2.00", latin}},
      {"another build", {}, {}, 1033, VersionNumbers{2, 1, 5, 0}, {"Ver. 2.15", latin}},
      {"another build and an author",
       jane,
       {},
       1033,
       VersionNumbers{2, 1, 12, 0},
       {"Ver. 2.112", latin, by + "Jane Doe"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [file, bytes] :
         {std::pair{"Language.ini", c.general}, std::pair{"Language_1041.ini", c.japanese}}) {
      QFile::remove(Path(file));
      if (!bytes.isNull()) WriteBytes(Path(file), bytes);
    }
    PinUserLocaleNumber(c.lcid);
    SetProgramVersion(c.version);
    EXPECT_EQ(Opened(), "Slatewick 2\n" + c.lines.join(u'\n'));
    ASSERT_FALSE(boxes_.empty());
    EXPECT_EQ(boxes_.back().Caption, "Slatewick 2");
    EXPECT_EQ(boxes_.back().Icon, BoxIcon::None);
    EXPECT_FALSE(boxes_.back().YesNo);
    EXPECT_FALSE(boxes_.back().OkCancel);
  }
}

TEST_F(VersionBox, AuthorIsReadAnewAtEachOpening) {
  PinUserLocaleNumber(1041);
  EXPECT_FALSE(Opened().contains(u"LanguageResource"_s));
  WriteBytes(Path("Language.ini"), "[General]\r\nLanguageAuthor=First\r\n");
  EXPECT_TRUE(Opened().endsWith(u"\nLanguageResource written by First"_s));
  // A file for the locale that appears while the program runs is chosen at the next opening.
  WriteBytes(Path("Language_1041.ini"), "[General]\r\nLanguageAuthor=Second\r\n");
  EXPECT_TRUE(Opened().endsWith(u"\nLanguageResource written by Second"_s));
}

}  // namespace slatewick
