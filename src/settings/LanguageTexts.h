#pragma once
#include <QStringView>
#include <span>

namespace slatewick {

// One text of the program: its section and key in the language file and the built-in text
// shown when the file lacks that key. Look it up with LangText(text) or, for several texts
// at once, with LanguageFile::Text(text) (settings/Language.h).
struct TextKey {
  QStringView Section;
  QStringView Key;
  QStringView Default;
};

// Every text of the program that comes from the language file. The keys OK and Cancel are
// shared by the three dialogs, each with its own built-in text.
namespace Texts {
// Section General.
inline constexpr TextKey Name{u"General", u"name", u"Slatewick 2"};
inline constexpr TextKey ChooserOk{u"General", u"OK", u"OK"};
inline constexpr TextKey ChooserCancel{u"General", u"Cancel", u"Cancel"};
inline constexpr TextKey SettingsOk{u"General", u"OK", u"OK(&O)"};
inline constexpr TextKey SettingsCancel{u"General", u"Cancel", u"ｷｬﾝｾﾙ(&C)"};
inline constexpr TextKey ExportKindOk{u"General", u"OK", u"&OK"};
inline constexpr TextKey ExportKindCancel{u"General", u"Cancel", u"&Cancel"};
inline constexpr TextKey FileTypeBmp{u"General", u"FileTypeBmp", u"BMP"};
inline constexpr TextKey FileTypeJpg{u"General", u"FileTypeJpg", u"JPG"};
inline constexpr TextKey FileTypePng{u"General", u"FileTypePng", u"PNG"};
inline constexpr TextKey FileTypeWebm{u"General", u"FileTypeWebm", u"WebM動画"};
inline constexpr TextKey LanguageAuthor{u"General", u"LanguageAuthor", u""};

// Section MainMenu: the popup menu's captions.
inline constexpr TextKey MenuClearAll{u"MainMenu", u"AllDel", u"All Del"};
inline constexpr TextKey MenuWriteDate{u"MainMenu", u"WriteDate", u"日付を書く(&D)"};
inline constexpr TextKey MenuLoad{u"MainMenu", u"Load", u"黒板を読み込む(&L)"};
inline constexpr TextKey MenuSave{u"MainMenu", u"Save", u"黒板を書き出し(&S)"};
inline constexpr TextKey MenuExport{u"MainMenu", u"ToBMP", u"BMPﾌｧｲﾙに書き出す(&E)"};
inline constexpr TextKey MenuSettings{u"MainMenu", u"Option", u"設定(&O)"};
inline constexpr TextKey MenuAbout{u"MainMenu", u"Ver", u"ﾊﾞｰｼﾞｮﾝ情報(&A)"};
inline constexpr TextKey MenuQuit{u"MainMenu", u"Exit", u"Slatewickの終了(&Q)"};
inline constexpr TextKey MenuReplay{u"MainMenu", u"Replay", u"書いた順に再生する(&R)"};
inline constexpr TextKey MenuVideo{u"MainMenu", u"Video", u"動画に書き出す(&V)"};

// Section MainMessage: the question before the board is cleared, read at start-up, and the
// message for an export name that ends in none of .bmp, .jpg, .jpeg and .png, read when it is shown
// (one placeholder for the file name, filled as the board-file messages are).
inline constexpr TextKey ClearQuestion{u"MainMessage", u"Clear",
                                       u"黒板にかかれている内容をすべて消します。よろしいですか？"};
inline constexpr TextKey ExportExtension{u"MainMessage", u"ExportExtension",
                                         u"\"%s\"は書き出されませんでした。ファイル名の末尾は "
                                         u".bmp、.jpg、.jpeg、.png のいずれかにしてください。"};
// Shown when a stored board's story cannot be read (one placeholder, "%3d", for the title).
inline constexpr TextKey StoryRefused{
    u"MainMessage", u"StoryRefused",
    u"\"%3d\"の書いた順の記録は読み込めませんでした。黒板の絵だけを読み込みました。"};

// Section SelectFileDialog: the board-file chooser. FileExist and FileNotExist hold one
// placeholder ("%3d") for the title.
inline constexpr TextKey FileSizeError{u"SelectFileDialog", u"FileSizeError",
                                       u"ファイルの縦x横が一致していません。"};
inline constexpr TextKey FileExist{u"SelectFileDialog", u"FileExist",
                                   u"\"%3d.bmp\"はすでに存在します。上書き保存しますか？"};
inline constexpr TextKey FileNotExist{u"SelectFileDialog", u"FileNotExist",
                                      u"\"%3d.bmp\"は存在しません。"};
inline constexpr TextKey LoadPrompt{u"SelectFileDialog", u"ChooseLoad",
                                    u"読み込むタイトルを選んでください"};
inline constexpr TextKey StorePrompt{u"SelectFileDialog", u"ChooseSave",
                                     u"書き出すタイトルを入力してください"};
inline constexpr TextKey LoadCaption{u"SelectFileDialog", u"LoadDialog", u"黒板の読み込み"};
inline constexpr TextKey StoreCaption{u"SelectFileDialog", u"SaveDialog", u"黒板の書き出し"};

// Section PreferenceDialog: the settings dialog.
inline constexpr TextKey SettingsTitle{u"PreferenceDialog", u"Title", u"Slatewick 2の設定"};
inline constexpr TextKey LeaveSmudge{u"PreferenceDialog", u"Dirt", u"黒板消しや指の汚れ"};
inline constexpr TextKey LimitStrokeLength{u"PreferenceDialog", u"ChalkRange",
                                           u"普通チョークの距離制限（推奨）"};
inline constexpr TextKey DateAtStart{u"PreferenceDialog", u"RunWithDay", u"起動時に日付を描画する"};
inline constexpr TextKey DateAfterClear{u"PreferenceDialog", u"ClearWithDay",
                                        u"全部消す時に日付を描画する"};
inline constexpr TextKey ShowDust{u"PreferenceDialog", u"ShowDust", u"粉を落とす"};
inline constexpr TextKey CornerOnlyWithCtrl{u"PreferenceDialog", u"AngleWithCtrl",
                                            u"チョークの角を使うのは[Ctrl]キーを押した時だけ"};
inline constexpr TextKey ShowDebug{u"PreferenceDialog", u"ShowDebug",
                                   u"内部数値の表示（デバッグモード）"};
inline constexpr TextKey NormalChalkLabel{u"PreferenceDialog", u"ChalkA", u"普通チョーク"};
inline constexpr TextKey ChalkCornerLabel{u"PreferenceDialog", u"ChalkB", u"チョークの角"};
inline constexpr TextKey LaidChalkLabel{u"PreferenceDialog", u"ChalkC", u"倒したチョーク"};

// Section ExportDlg: the export-kind dialog.
inline constexpr TextKey ExportKindTitle{u"ExportDlg", u"Title", u"Select the export type"};
inline constexpr TextKey ExportBoardOnly{u"ExportDlg", u"Onlypic", u"Save only picture"};
inline constexpr TextKey ExportWholeWindow{u"ExportDlg", u"Withall",
                                           u"Save with tray, chalk, dust, etc."};

// Section VideoDialog: the progress dialog while a video is written.
inline constexpr TextKey VideoTitle{u"VideoDialog", u"Title", u"動画の書き出し"};
inline constexpr TextKey VideoProgress{u"VideoDialog", u"Progress", u"動画を書き出しています…"};

// The last entry of the export's file filter; it does not come from the language file.
inline constexpr QStringView AllFilesFilter = u"すべてのファイル (*.*)";

// Every text above, section by section (OK and Cancel three times, once per dialog).
std::span<const TextKey> All();
}  // namespace Texts

}  // namespace slatewick
