#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "board/BoardFixture.h"
#include "board/widgets/MainWindow.h"
#include "files/FilesFixture.h"
#include "files/widgets/BoardChooserDialog.h"
#include "files/widgets/ExportKindDialog.h"
#include "files/widgets/FileCommands.h"
#include "files/widgets/SaveDialog.h"
#include "platform/Clock.h"
#include "platform/PictureFiles.h"
#include "support/JpegDecode.h"

namespace slatewick {

namespace {

using DialogWindows = FilesTest;

TEST_F(DialogWindows, TheChooserPlacesItsControlsAndKeepsThemAnchored) {
  BoardChooserDialog dialog(frm, nullptr);
  dialog.show();
  EXPECT_EQ(dialog.size(), QSize(646, 421));
  EXPECT_EQ(dialog.minimumSize(), QSize(646, 421));
  EXPECT_EQ(dialog.PromptLabel()->pos(), QPoint(8, 8));
  EXPECT_EQ(dialog.FileNameEdit()->geometry(), QRect(8, 32, 385, 27));
  EXPECT_EQ(dialog.FileList()->geometry(), QRect(8, 72, 385, 289));
  EXPECT_EQ(dialog.ThumbnailFrame()->geometry(), QRect(401, 72, 242, 132));
  EXPECT_EQ(dialog.OKButton()->geometry(), QRect(442, 376, 97, 33));
  EXPECT_EQ(dialog.CancelButton()->geometry(), QRect(546, 377, 91, 32));
  EXPECT_EQ(dialog.OKButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Cancel"));
  EXPECT_TRUE(dialog.OKButton()->isDefault());

  dialog.resize(750, 600);
  EXPECT_EQ(dialog.PromptLabel()->pos(), QPoint(8, 8));
  EXPECT_EQ(dialog.FileNameEdit()->geometry(), QRect(8, 32, 489, 27));
  EXPECT_EQ(dialog.FileList()->geometry(), QRect(8, 72, 489, 468));
  EXPECT_EQ(dialog.ThumbnailFrame()->geometry(), QRect(505, 72, 242, 132));
  EXPECT_EQ(dialog.OKButton()->geometry(), QRect(546, 555, 97, 33));
  EXPECT_EQ(dialog.CancelButton()->geometry(), QRect(650, 556, 91, 32));

  dialog.resize(100, 100);
  EXPECT_EQ(dialog.size(), QSize(646, 421));
  dialog.hide();
}

TEST_F(DialogWindows, TheChooserShowsTheFormAndPassesSelectionAndOKToIt) {
  QDir().mkpath(Path("users"));
  for (const char* title : {"first", "second"})
    ASSERT_TRUE(PatternBoard(title[0]).save(UsersPath(QString::fromUtf8(title) + ".bmp"), "BMP"));
  BoardChooserDialog dialog(frm, nullptr);
  BoardChooser& form = dialog.Form();
  QStringList shown;
  QString captionShown, labelShown;
  form.RunModal = [&] {
    dialog.ShowFields();
    for (int i = 0; i < dialog.FileList()->count(); ++i)
      shown.append(dialog.FileList()->item(i)->text());
    captionShown = dialog.windowTitle();
    labelShown = dialog.PromptLabel()->text();
    dialog.FileList()->setCurrentRow(1);
    EXPECT_EQ(form.TitleEdit.Text, QStringLiteral("second"));
    EXPECT_EQ(dialog.FileNameEdit()->text(), QStringLiteral("second"));
    dialog.OKButton()->click();
  };
  ShowLoadChooser(form);
  EXPECT_EQ(shown, (QStringList{"first", "second"}));
  EXPECT_EQ(captionShown, QStringLiteral("黒板の読み込み"));
  EXPECT_EQ(labelShown, QStringLiteral("読み込むタイトルを選んでください"));
  EXPECT_EQ(form.Result, DialogResult::OK);
  EXPECT_EQ(frm.BoardPicture(), PatternBoard('s'));

  form.RunModal = [&] {
    dialog.ShowFields();
    dialog.FileNameEdit()->setText(QStringLiteral("typed"));
    emit dialog.FileNameEdit()->textEdited(QStringLiteral("typed"));
    dialog.reject();  // Escape or the close box
  };
  ShowStoreChooser(form);
  EXPECT_EQ(form.TitleEdit.Text, QStringLiteral("typed"));
  EXPECT_EQ(form.Result, DialogResult::Cancel);
  EXPECT_FALSE(QFileInfo::exists(UsersPath("typed.bmp")));
}

// A broken file's empty thumbnail is the thumbnails' own test.
TEST_F(DialogWindows, TheChooserShowsTheSelectedBoardOnceMadeAndGoesWhileMakingMore) {
  QDir().mkpath(Path("users"));
  for (int i = 0; i < 8; ++i) WriteBmpFile(PatternBoard(i), UsersPath(QString::number(i) + ".bmp"));
  auto dialog = std::make_unique<BoardChooserDialog>(frm, nullptr);
  const QLabel* frame = dialog->ThumbnailFrame();
  dialog->Form().RunModal = [&] {
    dialog->ShowFields();
    dialog->FileList()->setCurrentRow(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->pixmap().isNull(); }, 10000));
    EXPECT_TRUE(SamePixels(frame->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                           MakeBoardThumbnail(UsersPath("0.bmp"), {800, 432}, {240, 130})));
    for (int row = 1; row < 8; ++row) dialog->FileList()->setCurrentRow(row);
    dialog->reject();
  };
  ShowLoadChooser(dialog->Form());
  dialog.reset();  // while the thumbnails of the rows passed over are being made
  QCoreApplication::processEvents();
  EXPECT_TRUE(boxes.empty());
}

TEST_F(DialogWindows, TheExportKindDialogHasItsControlsTextsAndKeepsTheChoice) {
  ExportKindDialog dialog(nullptr);
  EXPECT_EQ(dialog.size(), QSize(318, 93));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(dialog.OnlypicButton()->geometry(), QRect(8, 8, 305, 17));
  EXPECT_EQ(dialog.WithallButton()->geometry(), QRect(8, 32, 305, 17));
  EXPECT_EQ(dialog.OKButton()->geometry(), QRect(152, 56, 75, 25));
  EXPECT_EQ(dialog.CancelButton()->geometry(), QRect(232, 56, 75, 25));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select the export type"));
  EXPECT_EQ(dialog.OnlypicButton()->text(), QStringLiteral("Save only picture"));
  EXPECT_EQ(dialog.WithallButton()->text(), QStringLiteral("Save with tray, chalk, dust, etc."));
  EXPECT_EQ(dialog.OKButton()->text(), QStringLiteral("&OK"));
  EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("&Cancel"));
  EXPECT_TRUE(dialog.WithallButton()->isChecked());

  ExportKindChooser& form = dialog.Form();
  form.RunModal = [&] {
    dialog.OnlypicButton()->setChecked(true);
    dialog.reject();
  };
  EXPECT_EQ(form.ShowModal(), DialogResult::Cancel);
  EXPECT_TRUE(form.BoardOnlyButton.Checked);
  EXPECT_FALSE(form.WholeWindowButton.Checked);
  form.ExportKind = 1;

  form.RunModal = [&] {
    dialog.ShowFields();
    EXPECT_TRUE(dialog.OnlypicButton()->isChecked());
    dialog.OKButton()->click();
  };
  EXPECT_EQ(form.ShowModal(), DialogResult::OK);
  EXPECT_EQ(form.ExportKind, 0);
}

TEST_F(DialogWindows, TheSaveDialogAddsTheChosenTypesExtensionAndRemembersTheChoice) {
  SaveDialog dialog(nullptr);
  SaveFileModel& saveFile = dialog.Dialog();
  saveFile.Filter = QStringLiteral("BMP (*.bmp);;JPG (*.jpg);;すべてのファイル (*.*)");
  const auto acceptWith = [&](const QString& file, int filterIndex) {
    saveFile.FileName = file;
    saveFile.FilterIndex = filterIndex;
    QTimer::singleShot(0, &dialog, [&] { static_cast<QDialog&>(dialog.Window()).accept(); });
    return saveFile.Execute();
  };

  ASSERT_TRUE(acceptWith(Path("picture"), 0));
  EXPECT_EQ(saveFile.FileName, Path("picture.bmp"));
  EXPECT_EQ(saveFile.FilterIndex, 0);
  ASSERT_TRUE(acceptWith(Path("picture"), 1));
  EXPECT_EQ(saveFile.FileName, Path("picture.jpg"));
  EXPECT_EQ(saveFile.FilterIndex, 1);
  ASSERT_TRUE(acceptWith(Path("picture.jpeg"), 0));
  EXPECT_EQ(saveFile.FileName, Path("picture.jpeg"));
  EXPECT_EQ(dialog.Window().nameFilters().size(), 3);

  saveFile.FileName = Path("other");
  QTimer::singleShot(0, &dialog, [&] { dialog.Window().reject(); });
  EXPECT_FALSE(saveFile.Execute());
  EXPECT_EQ(saveFile.FileName, Path("other"));
}

// Kept hidden for the whole run, the save dialog must not follow its folder: a folder where files
// come and go kept a hidden dialog's list busy, most of a core.
TEST_F(DialogWindows, TheSaveDialogFollowsItsFolderOnlyWhileOpen) {
  SaveDialog dialog(nullptr);
  auto* list = dialog.Window().findChild<QFileSystemModel*>();
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->testOption(QFileSystemModel::DontWatchForChanges));
  bool followedWhileOpen = false;
  QTimer::singleShot(0, &dialog, [&] {
    followedWhileOpen = !list->testOption(QFileSystemModel::DontWatchForChanges);
    dialog.Window().reject();
  });
  EXPECT_FALSE(dialog.Dialog().Execute());
  EXPECT_TRUE(followedWhileOpen);
  EXPECT_TRUE(list->testOption(QFileSystemModel::DontWatchForChanges));
}

TEST_F(DialogWindows, InstallingWiresTheMenuCommandsAndF12ToTheDialogs) {
  CopyProgramFiles();
  MainWindow window(test.env);
  window.Create();
  Board& board = window.Core();
  board.BoardPicture() = PatternBoard(11);
  board.Surface().BackBuffer() = Blocks(800, 480);
  board.Surface().PresentFrame();
  InstallBoardFileCommands(window);
  InstallExportCommands(window);

  auto* files = window.findChild<BoardChooserDialog*>();
  auto* howTo = window.findChild<ExportKindDialog*>();
  auto* save = window.findChild<SaveDialog*>();
  ASSERT_TRUE(files && howTo && save);
  // Qt stores a file dialog's state when it is destroyed: none before the first export.
  EXPECT_EQ(window.findChild<QFileDialog*>(), nullptr);
  EXPECT_EQ(window.findChildren<BoardChooserDialog*>().size(), 1);
  EXPECT_EQ(files->OKButton()->text(), QStringLiteral("OK"));

  files->Form().RunModal = [&] {
    files->Form().TitleEdit.Text = QStringLiteral("wired");
    files->Form().Accept();
  };
  board.Commands().store();
  EXPECT_EQ(files->Form().Mode, BoardChooser::ChooserMode::Store);
  EXPECT_EQ(ReadBmpFile(UsersPath("wired.bmp")), PatternBoard(11));
  board.BoardPicture() = PatternBoard(12);
  board.Commands().load();
  EXPECT_EQ(files->Form().Mode, BoardChooser::ChooserMode::Load);
  EXPECT_EQ(board.BoardPicture(), PatternBoard(11));

  save->Dialog().OnExecute = [&](SaveFileModel& saveFile) {
    saveFile.FileName = Path("exported.bmp");
    return true;
  };
  howTo->Form().RunModal = [&] { howTo->Form().Accept(); };
  board.Commands().exportPicture();
  EXPECT_EQ(save->Dialog().Filter, board.ExportFilter());
  EXPECT_TRUE(board.ExportFilter().startsWith(QStringLiteral("BMP image (*.bmp)")));
  EXPECT_EQ(ReadBmpFile(Path("exported.bmp")), Blocks(800, 480));
  EXPECT_TRUE(board.Timer().Enabled());

  test.clock.now = QDateTime(QDate(2026, 12, 6), QTime(19, 26, 11, 123));
  board.Commands().screenShot();
  EXPECT_TRUE(DecodeJpeg(ReadBytes(Path("2026_12_06_19_26_11_123.jpg"))).ok);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace

namespace {

using ChooserPointer = FilesTest;

// Loading by a double click on a title: once the chooser has closed, the main window has the
// pointer again at once, and the held chalk follows its very next move.
TEST_F(ChooserPointer, AfterADoubleClickLoadTheBoardFollowsThePointerAtOnce) {
  QDir(dir.path()).mkpath(QStringLiteral("users"));
  ASSERT_TRUE(PatternBoard(3).save(UsersPath("lesson.bmp"), "BMP"));
  CopyProgramFiles();
  MainWindow window(test.env);
  window.Create();
  InstallBoardFileCommands(window);
  window.show();
  auto* chooser = window.findChild<BoardChooserDialog*>();
  ASSERT_TRUE(chooser);

  int time = 1000;  // milliseconds: the presses are a double click
  const auto pointer = [&](QWindow* to, QEvent::Type type, Qt::MouseButtons held, QPoint at) {
    qt_handleMouseEvent(to, at, to->mapToGlobal(at), held, Qt::LeftButton, type, Qt::NoModifier,
                        time += 20);
  };
  QTimer::singleShot(0, chooser, [&] {
    QListWidget* list = chooser->FileList();
    ASSERT_EQ(list->count(), 1);
    const QPoint at =
        list->viewport()->mapTo(chooser, list->visualItemRect(list->item(0)).center());
    QWindow* dialog = chooser->windowHandle();
    pointer(dialog, QEvent::MouseButtonPress, Qt::LeftButton, at);
    pointer(dialog, QEvent::MouseButtonRelease, Qt::NoButton, at);
    pointer(dialog, QEvent::MouseButtonPress, Qt::LeftButton, at);
    // The release goes to the window under the pointer: the chooser while it is there, else the
    // window manager's frame that lingers a moment, which the program never hears of.
    if (chooser->isVisible()) pointer(dialog, QEvent::MouseButtonRelease, Qt::NoButton, at);
  });
  window.Core().Commands().load();
  EXPECT_FALSE(chooser->isVisible());
  EXPECT_EQ(window.Core().Picture(), PatternBoard(3));

  pointer(window.windowHandle(), QEvent::MouseMove, Qt::NoButton, {300, 200});
  EXPECT_EQ(window.Core().HandState().pointerX, 300);
  EXPECT_EQ(window.Core().HandState().pointerY, 200);
}

}  // namespace

}  // namespace slatewick
