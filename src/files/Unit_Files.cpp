#include "files/Unit_Files.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "board/BoardAccess.h"
#include "files/TitleFormat.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "platform/PictureFiles.h"
#include "platform/Places.h"
#include "settings/Language.h"

namespace slatewick {

namespace {

const QString BoardExtension = QStringLiteral(".bmp");

// The names of the board files in folder, in listing order: regular files (hidden ones too, and
// links to files) whose names end in ".bmp" in any letter case, ordered by their titles.
QStringList BoardFileNames(const QString& folder) {
  const QFileInfoList entries =
      QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
  QStringList names;
  for (const QFileInfo& entry : entries)
    if (entry.isFile() && entry.fileName().endsWith(BoardExtension, Qt::CaseInsensitive))
      names.append(entry.fileName());
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const QString titleA = a.chopped(BoardExtension.size()),
                  titleB = b.chopped(BoardExtension.size());
    const int folded = QString::compare(titleA.toUpper(), titleB.toUpper());
    return folded != 0 ? folded < 0 : QString::compare(titleA, titleB) < 0;
  });
  return names;
}

// Whether what stands at path, followed through any symbolic links, lies in folder or below it.
// A path where nothing stands yet counts as in the folder that holds it.
bool InFolder(const QString& path, const QString& folder) {
  const QFileInfo entry(path);
  if (!entry.exists() && !entry.isSymLink()) return true;
  const QString file = entry.canonicalFilePath(), home = QFileInfo(folder).canonicalFilePath();
  return !file.isEmpty() && !home.isEmpty() && file.startsWith(home + u'/');
}

// The error box's text for a title that names no file in the board folder.
QString RefusedTitle(const QString& title) {
  return QStringLiteral(
             "\"%1\" cannot be a board title: a title names a file in the board folder \"%2\", "
             "so it may hold no \"/\", \"\\\" or NUL, nor lead out of that folder.")
      .arg(QString(title).replace(QChar(u'\0'), QStringLiteral("\\0")), BoardFolder());
}

}  // namespace

QString BoardFolder() {
  return Places::BoardFolder();
}

QString BoardFilePath(const QString& title) {
  if (title.contains(u'/') || title.contains(u'\\') || title.contains(QChar(u'\0'))) return {};
  const QString folder = BoardFolder();
  const QString name = title + BoardExtension;
  QString path = folder + name;
  if (!QFileInfo(path).isFile()) {
    const QStringList names = BoardFileNames(folder);
    const auto match = std::find_if(names.begin(), names.end(), [&](const QString& other) {
      return other.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (match != names.end()) path = folder + *match;
  }
  return InFolder(path, folder) ? path : QString();
}

QStringList ListBoardTitles(const QString& folder) {
  QStringList titles = BoardFileNames(folder);
  for (QString& name : titles) name.chop(BoardExtension.size());
  return titles;
}

TfrmFiles::TfrmFiles(BoardAccess& board) : board_(board) {}

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
  if (Mode == TMode::Load) {
    lbl.Caption = ChooseLoadText;
    Caption = LoadDialogText;
    ActiveControl = TFocus::lstFiles;
  } else if (Mode == TMode::Store) {
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
  if (Mode == TMode::None) return;
  const QString path = BoardFilePath(title);
  if (path.isEmpty()) {
    ShowErrorBox(RefusedTitle(title));
    return;
  }
  const bool exists = QFileInfo(path).isFile();
  if (Mode == TMode::Load) {
    if (exists)
      LoadBoard(title, path);
    else
      ShowMessage(FormatWithTitle(FileNotExistText, title));
  } else {
    StoreBoard(title, path, exists);
  }
}

void TfrmFiles::btnCancelClick() {
  ModalResult = TModalResult::Cancel;
}

void TfrmFiles::LoadBoard(const QString& title, const QString& path) {
  QImage& board = board_.BoardPicture();
  try {
    const QImage picture = ReadBmpFile(path);
    if (picture.size() != board.size()) {
      ShowMessage(FormatWithTitle(FileSizeErrorText, title));
      return;
    }
    const HistoryScope step(board_.BoardChanges(), board);
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
    WriteBmpFile(board_.BoardPicture(), path);
    ModalResult = TModalResult::OK;
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
}

void mnuLoadClick(TfrmFiles& frmFiles) {
  frmFiles.Mode = TfrmFiles::TMode::Load;
  frmFiles.ShowModal();
}

void mnuSaveClick(TfrmFiles& frmFiles) {
  frmFiles.Mode = TfrmFiles::TMode::Store;
  frmFiles.ShowModal();
}

}  // namespace slatewick
