// The version box: its text, the author line read at each opening, and the box itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

#include "board/widgets/MainWindow.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "settings/Language.h"
#include "settings/VersionBox.h"
#include "settings/widgets/Install.h"

namespace {

const QString kJapaneseCredit = QStringLiteral("制作：Slatewick 開発チーム");
const QString kLatinCredit = QStringLiteral("Made by the Slatewick team");

bool IsJapaneseScript(QChar c) {
  const ushort u = c.unicode();
  return (u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
         (u >= 0xFF00 && u <= 0xFFEF);
}

// A program folder with the language files a test writes; boxes are recorded, not shown.
class VersionBox : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetExeDir(dir.path() + u'/');
    SetApplicationTitle(QStringLiteral("Slatewick 2"));
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes.push_back(r);
      return BoxAnswer::Ok;
    });
  }
  void TearDown() override {
    SetMessageBoxHandler({});
    SetExeDir(QString());
    SetUserDefaultLCID(0);
    SetProgramVersion(std::nullopt);
    SetApplicationTitle(QStringLiteral("Slatewick"));
  }
  void WriteLanguage(const QString& name, const QByteArray& text) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QString Opened() {
    boxes.clear();
    ShowVersionBox();
    EXPECT_EQ(boxes.size(), 1u);
    return boxes.empty() ? QString() : boxes.back().Text;
  }

  QTemporaryDir dir;
  std::vector<MessageBoxRequest> boxes;
};

}  // namespace

TEST(VersionText, ReleaseNumberRunsOnBehindTheMinor) {
  EXPECT_EQ(VersionText({2, 0, 0, 0}, 1041, QString()),
            QStringLiteral("Slatewick 2\rVer. 2.00\r") + kJapaneseCredit);
  EXPECT_EQ(VersionText({2, 1, 5, 0}, 1041, QString()),
            QStringLiteral("Slatewick 2\rVer. 2.15\r") + kJapaneseCredit);
  EXPECT_EQ(VersionText({2, 1, 12, 0}, 1041, QString()),
            QStringLiteral("Slatewick 2\rVer. 2.112\r") + kJapaneseCredit);
  // The build number is not shown.
  EXPECT_EQ(VersionText({2, 1, 12, 7}, 1041, QString()), VersionText({2, 1, 12, 0}, 1041, {}));
}

TEST(VersionText, OtherLocalesTakeTheLatinCreditLine) {
  EXPECT_EQ(VersionText({2, 0, 0, 0}, 1033, QString()),
            QStringLiteral("Slatewick 2\rVer. 2.00\r") + kLatinCredit);
  EXPECT_EQ(VersionText({2, 1, 5, 0}, 1033, QString()),
            QStringLiteral("Slatewick 2\rVer. 2.15\r") + kLatinCredit);
  EXPECT_EQ(VersionText({2, 1, 12, 0}, 1033, QString()),
            QStringLiteral("Slatewick 2\rVer. 2.112\r") + kLatinCredit);
  EXPECT_EQ(CreditLine(1031), kLatinCredit);
  EXPECT_EQ(CreditLine(2057), kLatinCredit);
}

TEST(VersionText, CreditLinesAreInTheirScripts) {
  const QString japanese = CreditLine(1041);
  EXPECT_TRUE(std::any_of(japanese.begin(), japanese.end(), IsJapaneseScript));
  for (QChar c : CreditLine(1033))
    EXPECT_TRUE(c.unicode() < 0x80 && c != u'\r') << int(c.unicode());
}

TEST(VersionText, AuthorMakesAFourthLine) {
  EXPECT_EQ(VersionText({2, 0, 0, 0}, 1041, QStringLiteral("山田 花子")),
            QStringLiteral("Slatewick 2\rVer. 2.00\r") + kJapaneseCredit +
                QStringLiteral("\rLanguageResource written by 山田 花子"));
  EXPECT_EQ(VersionText({2, 1, 12, 0}, 1033, QStringLiteral("Jane Doe")),
            QStringLiteral("Slatewick 2\rVer. 2.112\r") + kLatinCredit +
                QStringLiteral("\rLanguageResource written by Jane Doe"));
  EXPECT_EQ(VersionText({2, 1, 5, 0}, 1033, QStringLiteral("J")).count(u'\r'), 3);
}

TEST(FileVersion, SplitsAtTheDots) {
  EXPECT_EQ(ParseFileVersion(u"2.0.0.0"), (VersionNumbers{2, 0, 0, 0}));
  EXPECT_EQ(ParseFileVersion(u"2.1.12.0"), (VersionNumbers{2, 1, 12, 0}));
  EXPECT_EQ(ParseFileVersion(u"3.4.5.6.7"), (VersionNumbers{3, 4, 5, 6}));
  EXPECT_EQ(ParseFileVersion(u"2.1"), (VersionNumbers{2, 1, 0, 0}));
  EXPECT_EQ(ParseFileVersion(u""), (VersionNumbers{}));
}

TEST(FileVersion, TheProgramIsVersionTwoFromTheBuild) {
  EXPECT_EQ(ProgramVersion(), (VersionNumbers{2, 0, 0, 0}));
  SetProgramVersion(VersionNumbers{2, 1, 5, 0});
  EXPECT_EQ(ProgramVersion(), (VersionNumbers{2, 1, 5, 0}));
  SetProgramVersion(std::nullopt);
  EXPECT_EQ(ProgramVersion(), (VersionNumbers{2, 0, 0, 0}));
}

TEST_F(VersionBox, WithoutALanguageFileShowsThreeLinesInAPlainBox) {
  SetUserDefaultLCID(1041);
  EXPECT_EQ(Opened(), QStringLiteral("Slatewick 2\nVer. 2.00\n") + kJapaneseCredit);
  const MessageBoxRequest& box = boxes.back();
  EXPECT_EQ(box.Caption, QStringLiteral("Slatewick 2"));
  EXPECT_EQ(box.Icon, BoxIcon::None);
  EXPECT_FALSE(box.YesNo);
  EXPECT_FALSE(box.OkCancel);
}

TEST_F(VersionBox, AuthorFromTheLanguageFileOfTheLocale) {
  WriteLanguage(QStringLiteral("Language_1041.ini"), "[General]\r\nLanguageAuthor=山田 花子\r\n");
  WriteLanguage(QStringLiteral("Language.ini"), "[General]\r\nLanguageAuthor=Jane Doe\r\n");
  SetUserDefaultLCID(1041);
  EXPECT_EQ(Opened(), QStringLiteral("Slatewick 2\nVer. 2.00\n") + kJapaneseCredit +
                          QStringLiteral("\nLanguageResource written by 山田 花子"));
  SetUserDefaultLCID(1033);
  EXPECT_EQ(Opened(), QStringLiteral("Slatewick 2\nVer. 2.00\n") + kLatinCredit +
                          QStringLiteral("\nLanguageResource written by Jane Doe"));
}

TEST_F(VersionBox, SameFileOnAnotherLocaleChangesOnlyTheCredit) {
  WriteLanguage(QStringLiteral("Language.ini"), "[general]\r\nlanguageauthor=Jane Doe\r\n");
  SetUserDefaultLCID(1041);
  const QString japanese = Opened();
  SetUserDefaultLCID(1033);
  const QString latin = Opened();
  EXPECT_EQ(QString(japanese).replace(kJapaneseCredit, kLatinCredit), latin);
  EXPECT_TRUE(latin.endsWith(QStringLiteral("\nLanguageResource written by Jane Doe")));
}

TEST_F(VersionBox, EmptyAuthorGivesNoFourthLine) {
  WriteLanguage(QStringLiteral("Language.ini"), "[General]\r\nLanguageAuthor=\r\n");
  SetUserDefaultLCID(1033);
  EXPECT_EQ(Opened(), QStringLiteral("Slatewick 2\nVer. 2.00\n") + kLatinCredit);
}

TEST_F(VersionBox, AuthorIsReadAnewAtEachOpening) {
  SetUserDefaultLCID(1041);
  EXPECT_FALSE(Opened().contains(QStringLiteral("LanguageResource")));
  WriteLanguage(QStringLiteral("Language.ini"), "[General]\r\nLanguageAuthor=First\r\n");
  EXPECT_TRUE(Opened().endsWith(QStringLiteral("\nLanguageResource written by First")));
  // A file for the locale that appears while the program runs is chosen at the next opening.
  WriteLanguage(QStringLiteral("Language_1041.ini"), "[General]\r\nLanguageAuthor=Second\r\n");
  EXPECT_TRUE(Opened().endsWith(QStringLiteral("\nLanguageResource written by Second")));
}

TEST_F(VersionBox, VersionNumbersOfAnotherBuild) {
  SetUserDefaultLCID(1033);
  SetProgramVersion(VersionNumbers{2, 1, 5, 0});
  EXPECT_EQ(Opened(), QStringLiteral("Slatewick 2\nVer. 2.15\n") + kLatinCredit);
  SetProgramVersion(VersionNumbers{2, 1, 12, 0});
  WriteLanguage(QStringLiteral("Language.ini"), "[General]\r\nLanguageAuthor=Jane Doe\r\n");
  EXPECT_EQ(Opened(), QStringLiteral("Slatewick 2\nVer. 2.112\n") + kLatinCredit +
                          QStringLiteral("\nLanguageResource written by Jane Doe"));
}

TEST_F(VersionBox, MenuCommandOfTheMainWindowShowsIt) {
  SetUserDefaultLCID(1041);
  MainWindow window;
  EXPECT_FALSE(window.Board().onAbout);
  InstallAboutBox(window);
  ASSERT_TRUE(window.Board().onAbout);
  window.Board().RunMenuCommand(int(MenuItem::About));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, QStringLiteral("Slatewick 2\nVer. 2.00\n") + kJapaneseCredit);
  EXPECT_EQ(boxes[0].Caption, ApplicationTitle());
}
