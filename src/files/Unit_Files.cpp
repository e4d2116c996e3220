#include "files/Unit_Files.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "board/Unit_Main.h"
#include "files/PictureFiles.h"
#include "files/TitleFormat.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "settings/Language.h"

namespace {

constexpr std::uint8_t LoadMode = 1, StoreMode = 2;
const QString BoardExtension = QStringLiteral(".bmp");

}  // namespace

QString BoardFolder() {
  return Places::BoardFolder();
}

QString BoardFilePath(const QString& title) {
  return BoardFolder() + title + BoardExtension;
}

QStringList ListBoardTitles(const QString& folder) {
  const QDir dir(folder);
  const QFileInfoList entries =
      dir.entryInfoList({QStringLiteral("*") + BoardExtension},
                        QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive);
  QStringList titles;
  for (const QFileInfo& entry : entries)
    if (entry.isFile() && entry.fileName().endsWith(BoardExtension))
      titles.append(entry.fileName().chopped(BoardExtension.size()));
  std::sort(titles.begin(), titles.end(), [](const QString& a, const QString& b) {
    const int folded = QString::compare(a.toUpper(), b.toUpper());
    return folded != 0 ? folded < 0 : QString::compare(a, b) < 0;
  });
  return titles;
}

TfrmFiles::TfrmFiles(TfrmMain& frmMain) : frmMain_(frmMain) {}

void TfrmFiles::FormCreate() {
  const LanguageFile language;
  FileSizeErrorText = language.Text(Texts::FileSizeError);
  FileExistText = language.Text(Texts::FileExist);
  FileNotExistText = language.Text(Texts::FileNotExist);
  ChooseLoadText = language.Text(Texts::ChooseLoad);
  ChooseSaveText = language.Text(Texts::ChooseSave);
  LoadDialogText = language.Text(Texts::LoadDialog);
  SaveDialogText = language.Text(Texts::SaveDialog);
  btnOK.Caption = language.Text(Texts::FilesOK);
  btnCancel.Caption = language.Text(Texts::FilesCancel);
}

void TfrmFiles::FormShow() {
  const QString folder = BoardFolder();
  if (!QFileInfo::exists(folder)) QDir().mkpath(folder);
  edtFileName.Text.clear();
  if (frmMain_.st.FileDialogMode == LoadMode) {
    lbl.Caption = ChooseLoadText;
    Caption = LoadDialogText;
    ActiveControl = TFocus::lstFiles;
  } else if (frmMain_.st.FileDialogMode == StoreMode) {
    lbl.Caption = ChooseSaveText;
    Caption = SaveDialogText;
    ActiveControl = TFocus::edtFileName;
  }
  ListBoardFiles(folder);
}

void TfrmFiles::ListBoardFiles(const QString& folder) {
  lstFiles.Items = ListBoardTitles(folder);
  lstFiles.ItemIndex = -1;
}

void TfrmFiles::lstFilesClick() {
  if (lstFiles.ItemIndex >= 0 && lstFiles.ItemIndex < lstFiles.Items.size())
    edtFileName.Text = lstFiles.Items[lstFiles.ItemIndex];
}

void TfrmFiles::lstFilesDblClick() {
  btnOKClick();
}

void TfrmFiles::btnOKClick() {
  const QString title = edtFileName.Text;
  const QString path = BoardFilePath(title);
  const bool exists = QFileInfo(path).isFile();
  if (frmMain_.st.FileDialogMode == LoadMode) {
    if (exists)
      LoadBoard(title, path);
    else
      ShowMessage(FormatWithTitle(FileNotExistText, title));
  } else if (frmMain_.st.FileDialogMode == StoreMode) {
    StoreBoard(title, path, exists);
  }
}

void TfrmFiles::btnCancelClick() {
  ModalResult = TModalResult::Cancel;
}

void TfrmFiles::LoadBoard(const QString& title, const QString& path) {
  QImage& board = frmMain_.st.BoardBitmap;
  try {
    const QImage picture = ReadBmpFile(path);
    if (picture.size() != board.size()) {
      ShowMessage(FormatWithTitle(FileSizeErrorText, title));
      return;
    }
    board = picture.convertToFormat(board.format());
    ModalResult = TModalResult::OK;
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
}

void TfrmFiles::StoreBoard(const QString& title, const QString& path, bool exists) {
  if (exists) {
    MessageBoxRequest question{FormatWithTitle(FileExistText, title), ApplicationTitle(),
                               BoxIcon::Question};
    question.YesNo = true;
    if (ShowMessageBox(question) != BoxAnswer::Yes) return;
  }
  try {
    WriteBmpFile(frmMain_.st.BoardBitmap, path);
    ModalResult = TModalResult::OK;
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
}

void mnuLoadClick(TfrmMain& frmMain, TfrmFiles& frmFiles) {
  frmMain.st.FileDialogMode = LoadMode;
  frmFiles.ShowModal();
}

void mnuSaveClick(TfrmMain& frmMain, TfrmFiles& frmFiles) {
  frmMain.st.FileDialogMode = StoreMode;
  frmFiles.ShowModal();
}
