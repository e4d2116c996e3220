// The main window's texts, applied by the board from the language file: the application title,
// the caption, the menu, the clear question and the export filter.
#include "board/Board.h"
#include "platform/MessageBoxes.h"
#include "settings/SettingsFixture.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

using MainWindowTexts = ExeFolderTest;

TEST_F(MainWindowTexts, EveryCharacterSurvives) {
  WriteBytes(Path("Language.ini"),
             u"[General]\r\nname=Доска 黒板 😀\r\n[MainMessage]\r\nClear=Ω ≠ 𠮷?\r\n"_s.toUtf8());
  Board form;
  form.ApplyTexts(LanguageFile());
  EXPECT_EQ(ApplicationTitle(), u"Доска 黒板 😀"_s);
  EXPECT_EQ(form.Caption, u"Доска 黒板 😀"_s);
  EXPECT_EQ(form.st.ClearConfirmText, u"Ω ≠ 𠮷?"_s);
}

TEST_F(MainWindowTexts, MainWindowTextsWithoutALanguageFile) {
  Board form;
  form.ApplyTexts(LanguageFile());
  EXPECT_EQ(ApplicationTitle(), "Slatewick 2");
  EXPECT_EQ(form.Caption, "Slatewick 2");
  EXPECT_EQ(form.menuCaptions,
            (QStringList{"All Del", u"日付を書く(&D)"_s, "-", u"黒板を読み込む(&L)"_s,
                         u"黒板を書き出し(&S)"_s, u"BMPﾌｧｲﾙに書き出す(&E)"_s, "-", u"設定(&O)"_s,
                         u"ﾊﾞｰｼﾞｮﾝ情報(&A)"_s, u"Slatewickの終了(&Q)"_s}));
  EXPECT_EQ(form.menuCaptions.size(), MenuItemCount);
  EXPECT_EQ(form.st.ClearConfirmText,
            u"黒板にかかれている内容をすべて消します。よろしいですか？"_s);
  EXPECT_EQ(form.exportFilter, u"BMP (*.bmp);;JPG (*.jpg);;すべてのファイル (*.*)"_s);
}

TEST_F(MainWindowTexts, MainWindowTextsFromTheLanguageFile) {
  WriteBytes(Path("Language.ini"),
             "[General]\r\nname=Chalkboard\r\nFileTypeBmp=Bitmap\r\n[MainMenu]\r\nAllDel=Wipe\r\n"
             "ver=\r\nEXIT='Quit'\r\n[MainMessage]\r\nClear=Sure?\r\n");
  Board form;
  form.ApplyTexts(LanguageFile());
  EXPECT_EQ(ApplicationTitle(), "Chalkboard");
  EXPECT_EQ(form.Caption, "Chalkboard");
  EXPECT_EQ(form.menuCaptions[int(MenuItem::ClearAll)], "Wipe");
  EXPECT_EQ(form.menuCaptions[int(MenuItem::About)], "");
  EXPECT_EQ(form.menuCaptions[int(MenuItem::Quit)], "Quit");
  EXPECT_EQ(form.menuCaptions[int(MenuItem::Separator1)], "-");
  EXPECT_EQ(form.menuCaptions[int(MenuItem::Settings)], u"設定(&O)"_s);
  EXPECT_EQ(form.st.ClearConfirmText, "Sure?");
  EXPECT_EQ(form.exportFilter, u"Bitmap (*.bmp);;JPG (*.jpg);;すべてのファイル (*.*)"_s);
}

}  // namespace

}  // namespace slatewick
