#include <unicode/uloc.h>

#include <QDir>
#include <algorithm>
#include <set>

#include "SettingsFixture.h"
#include "platform/MessageBoxes.h"
#include "settings/MainWindowTexts.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

// Names of any length and content: ICU's parts of such names fill any fixed buffer exactly or
// overflow it. Each gives an identifier without reading beyond what it was given.
TEST(LocaleTest, LocaleNamesGiveWindowsIdentifiers) {
  const std::string x(400, 'x');
  const struct {
    std::string name;
    int lcid;
  } cases[] = {
      {"en_US_POSIX", 1033},
      {"c", 1033},
      {"POSIX", 1033},
      {"en_US", 1033},
      {"ja_JP", 1041},
      {"ja", 1041},
      {"de_DE", 1031},
      {"en_GB", 2057},
      {"zh", 2052},
      {"zh_Hant", 1028},
      {"en_US@calendar=gregorian", 1033},
      {"xx_YY", 4096},
      {"en_US_" + x.substr(0, 151), 1033},               // 157 bytes
      {"en_US_" + x.substr(0, 157), 1033},               // a variant of 157 bytes
      {"en_US_" + x.substr(0, 156), 1033},               // a variant of 156 bytes
      {"en__" + x.substr(0, 153), 1033},                 // language and variant only
      {"ja_JP@calendar=japanese;collation=" + x, 1041},  // keywords of any length
      {"ja_" + x.substr(0, 160), 1041},                  // a second part of 160 bytes
      {std::string(156, 'a'), 4096},
      {std::string(157, 'a'), 4096},
      {std::string(400, 'a'), 4096},
      {std::string(200, '_'), 1033},
      {std::string(300, '@') + "=;", 1033},
      {"\xFF\xFE\x01 ja" + x, 4096},
      {"ja-JP-u-ca-japanese", 1041},
      {"C@" + x, 1033},
      {"POSIX" + std::string(200, '.'), 1033},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LCIDFromLocale(c.name.c_str()), c.lcid) << c.name.size() << " " << c.name;
}

TEST(LocaleTest, UserLocaleComesFromIcuUnlessSet) {
  PinUserLocaleNumber(1041);
  EXPECT_EQ(UserLocaleNumber(), 1041);
  PinUserLocaleNumber(0);
  EXPECT_EQ(UserLocaleNumber(), LCIDFromLocale(uloc_getDefault()));
}

TEST(LocaleTest, AnsiCodePages) {
  const std::pair<int, int> lcidAndCodePage[] = {
      {1041, 932},  {1033, 1252}, {1031, 1252}, {2052, 936},  {1028, 950},
      {3076, 950},  {1042, 949},  {1049, 1251}, {1045, 1250}, {3098, 1251},
      {2074, 1250}, {1032, 1253}, {1055, 1254}, {1037, 1255}, {1025, 1256},
      {1062, 1257}, {1066, 1258}, {1054, 874},  {4096, 1252}};
  for (const auto& [lcid, codePage] : lcidAndCodePage)
    EXPECT_EQ(AnsiCodePage(lcid), codePage) << lcid;
}

using LanguageTest = ExeFolderTest;

TEST_F(LanguageTest, WithoutFilesTheChoiceIsLanguageIni) {
  EXPECT_EQ(LanguageFilePath(), Path("Language.ini"));
  EXPECT_EQ(LangText(Texts::MenuLoad), u"黒板を読み込む(&L)"_s);
  EXPECT_EQ(LangText("MainMenu", "Nothing", "fallback"), "fallback");
}

TEST_F(LanguageTest, PerLocaleFileIsChosenAndWinsEvenWithoutTheKey) {
  WriteBytes(Path("Language.ini"), "[MainMenu]\r\nLoad=general load\r\nSave=general save\r\n");
  WriteBytes(Path("Language_1033.ini"), "[mainmenu]\r\nload=English load\r\n");
  EXPECT_EQ(LanguageFilePath(), Path("Language_1033.ini"));
  EXPECT_EQ(LangText(Texts::MenuLoad), "English load");
  EXPECT_EQ(LangText(Texts::MenuSave), u"黒板を書き出し(&S)"_s);

  PinUserLocaleNumber(1041);
  EXPECT_EQ(LanguageFilePath(), Path("Language.ini"));
  EXPECT_EQ(LangText(Texts::MenuSave), "general save");
}

TEST_F(LanguageTest, FolderNamedLikeThePerLocaleFileDoesNotCount) {
  PinUserLocaleNumber(1041);
  ASSERT_TRUE(QDir(dir_.path()).mkdir("Language_1041.ini"));
  EXPECT_EQ(LanguageFilePath(), Path("Language.ini"));
  WriteBytes(Path("Language.ini"), "[General]\r\nname=From the fallback\r\n");
  EXPECT_EQ(LangText(Texts::Name), "From the fallback");
}

TEST_F(LanguageTest, ChoiceIsMadeAnewAtEachLookup) {
  EXPECT_EQ(LangText(Texts::LanguageAuthor), "");
  WriteBytes(Path("Language_1033.ini"), "[General]\r\nLanguageAuthor=Someone\r\n");
  EXPECT_EQ(LangText(Texts::LanguageAuthor), "Someone");
}

TEST_F(LanguageTest, ShiftJisFileUnderAJapaneseLocale) {
  PinUserLocaleNumber(1041);
  // "[General] name=黒板" and "[MainMenu] Load=表を読む" in code page 932, then in UTF-16LE.
  for (const QByteArray& bytes :
       {QByteArray("[General]\r\nname=\x8D\x95\x94\xC2\r\n[MainMenu]\r\nLoad=\x95\x5C\x82\xF0"
                   "\x93\xC7\x82\xDE\r\n"),
        Utf16Le(u"[General]\r\nname=黒板\r\n[MainMenu]\r\nLoad=表を読む\r\n"_s)}) {
    WriteBytes(Path("Language_1041.ini"), bytes);
    EXPECT_EQ(LangText(Texts::MenuLoad), u"表を読む"_s);
    EXPECT_EQ(LangText(Texts::Name), u"黒板"_s);
  }
}

TEST_F(LanguageTest, DialogButtonsHaveTheirOwnDefaultsUntilTheFileSetsThem) {
  EXPECT_EQ(LangText(Texts::ChooserOk), "OK");
  EXPECT_EQ(LangText(Texts::ChooserCancel), "Cancel");
  EXPECT_EQ(LangText(Texts::SettingsOk), "OK(&O)");
  EXPECT_EQ(LangText(Texts::SettingsCancel), u"ｷｬﾝｾﾙ(&C)"_s);
  EXPECT_EQ(LangText(Texts::ExportKindOk), "&OK");
  EXPECT_EQ(LangText(Texts::ExportKindCancel), "&Cancel");

  WriteBytes(Path("Language.ini"), "[GENERAL]\r\nok=Go\r\ncancel=Stop\r\n");
  const LanguageFile language;
  for (const TextKey& ok : {Texts::ChooserOk, Texts::SettingsOk, Texts::ExportKindOk})
    EXPECT_EQ(language.Text(ok), "Go");
  for (const TextKey& cancel :
       {Texts::ChooserCancel, Texts::SettingsCancel, Texts::ExportKindCancel})
    EXPECT_EQ(language.Text(cancel), "Stop");
}

TEST_F(LanguageTest, ExportFilterText) {
  EXPECT_EQ(ExportFilter("BMP", "JPG", "PNG"),
            u"BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;すべてのファイル (*.*)"_s);
  EXPECT_EQ(ExportFilter("Bitmap", "", "").split(QStringLiteral(";;")),
            (QStringList{"Bitmap (*.bmp)", " (*.jpg)", " (*.png)", u"すべてのファイル (*.*)"_s}));
}

using MainWindowTextsTest = ExeFolderTest;

TEST_F(MainWindowTextsTest, EveryCharacterSurvives) {
  WriteBytes(Path("Language.ini"),
             u"[General]\r\nname=Доска 黒板 😀\r\n[MainMessage]\r\nClear=Ω ≠ 𠮷?\r\n"_s.toUtf8());
  const MainWindowTexts texts = ReadMainWindowTexts(LanguageFile());
  EXPECT_EQ(texts.caption, u"Доска 黒板 😀"_s);
  EXPECT_EQ(texts.clearQuestion, u"Ω ≠ 𠮷?"_s);
}

TEST_F(MainWindowTextsTest, WithoutALanguageFile) {
  const MainWindowTexts texts = ReadMainWindowTexts(LanguageFile());
  EXPECT_EQ(texts.caption, "Slatewick 2");
  EXPECT_EQ(texts.menuCaptions,
            (QStringList{"All Del", u"日付を書く(&D)"_s, "-", u"黒板を読み込む(&L)"_s,
                         u"黒板を書き出し(&S)"_s, u"BMPﾌｧｲﾙに書き出す(&E)"_s,
                         u"書いた順に再生する(&R)"_s, u"動画に書き出す(&V)"_s, "-", u"設定(&O)"_s,
                         u"ﾊﾞｰｼﾞｮﾝ情報(&A)"_s, u"Slatewickの終了(&Q)"_s}));
  EXPECT_EQ(texts.menuCaptions.size(), MenuItemCount);
  EXPECT_EQ(texts.clearQuestion, u"黒板にかかれている内容をすべて消します。よろしいですか？"_s);
  EXPECT_EQ(texts.exportFilter, u"BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;すべてのファイル (*.*)"_s);
}

TEST_F(MainWindowTextsTest, FromTheLanguageFile) {
  WriteBytes(Path("Language.ini"),
             "[General]\r\nname=Chalkboard\r\nFileTypeBmp=Bitmap\r\n[MainMenu]\r\nAllDel=Wipe\r\n"
             "ver=\r\nEXIT='Quit'\r\n[MainMessage]\r\nClear=Sure?\r\n");
  const MainWindowTexts texts = ReadMainWindowTexts(LanguageFile());
  EXPECT_EQ(texts.caption, "Chalkboard");
  EXPECT_EQ(texts.menuCaptions[int(MenuItem::ClearAll)], "Wipe");
  EXPECT_EQ(texts.menuCaptions[int(MenuItem::About)], "");
  EXPECT_EQ(texts.menuCaptions[int(MenuItem::Quit)], "Quit");
  EXPECT_EQ(texts.menuCaptions[int(MenuItem::Separator1)], "-");
  EXPECT_EQ(texts.menuCaptions[int(MenuItem::Settings)], u"設定(&O)"_s);
  EXPECT_EQ(texts.clearQuestion, "Sure?");
  EXPECT_EQ(texts.exportFilter,
            u"Bitmap (*.bmp);;JPG (*.jpg);;PNG (*.png);;すべてのファイル (*.*)"_s);
}

// Each text has its own section and key, except OK and Cancel, which the three dialogs share,
// each with its own built-in text. That the shipped files define exactly these keys is checked
// with the files.
TEST(TextTableTest, EveryTextOnceWithItsSectionKeyAndDefault) {
  std::set<std::tuple<QString, QString, QString>> seen;
  for (const TextKey& text : Texts::All()) {
    EXPECT_FALSE(text.Section.isEmpty());
    EXPECT_FALSE(text.Key.isEmpty());
    EXPECT_TRUE(seen.insert({text.Section.toString(), text.Key.toString().toLower(),
                             text.Default.toString()})
                    .second);
  }
  for (const TextKey* shared : {&Texts::ChooserOk, &Texts::ChooserCancel})
    EXPECT_EQ(std::ranges::count_if(Texts::All(),
                                    [&](const TextKey& t) {
                                      return t.Section == shared->Section && t.Key == shared->Key;
                                    }),
              3);
}

}  // namespace

}  // namespace slatewick
