#include "files/BoardChooser.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "board/BoardAccess.h"
#include "files/StoredStory.h"
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

// The real path of folder + relative as the system would follow it: through symbolic links and
// ".." as far as its entries exist, the rest as written, "." and ".." taken by their names.
// Empty when an entry on the way is a symbolic link that leads nowhere.
QString RealPath(const QString& folder, const QString& relative) {
  QString real = QFileInfo(folder).canonicalFilePath();
  bool existing = !real.isEmpty();
  if (!existing) real = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  QString walked = folder;
  for (const QString& part : relative.split(u'/')) {
    walked += (walked.endsWith(u'/') ? QString() : QStringLiteral("/")) + part;
    if (existing) {
      const QFileInfo entry(walked);
      const QString resolved = entry.canonicalFilePath();
      if (!resolved.isEmpty()) {
        real = resolved;
        continue;
      }
      if (entry.isSymLink()) return {};
      existing = false;
    }
    real = QDir::cleanPath(real + u'/' + part);
  }
  return real;
}

// Whether folder + relative, followed as the system would, lies below folder.
bool InFolder(const QString& folder, const QString& relative) {
  const QString real = RealPath(folder, relative), home = RealPath(folder, QStringLiteral("."));
  return !real.isEmpty() && !home.isEmpty() && real.startsWith(home + u'/');
}

// The error box's text for a title that names no file in the board folder.
QString RefusedTitle(const QString& title) {
  return QStringLiteral(
             "\"%1\" cannot be a board title: a title names a file in the board folder \"%2\" or "
             "in a folder below it, so it may hold no NUL, nor be an absolute path, nor lead "
             "out of that folder.")
      .arg(QString(title).replace(QChar(u'\0'), QStringLiteral("\\0")), BoardFolder());
}

}  // namespace

QString BoardFolder() {
  return Places::BoardFolder();
}

QString BoardFilePath(const QString& title) {
  QString relative = QString(title).replace(u'\\', u'/') + BoardExtension;
  if (relative.contains(QChar(u'\0')) || relative.startsWith(u'/')) return {};
  const QString folder = BoardFolder();
  if (!QFileInfo(folder + relative).isFile()) {
    const qsizetype slash = relative.lastIndexOf(u'/');
    const QString below = relative.left(slash + 1), name = relative.mid(slash + 1);
    const QString real = RealPath(folder, below);
    const QStringList names = real.isEmpty() ? QStringList() : BoardFileNames(real);
    const auto match = std::find_if(names.begin(), names.end(), [&](const QString& other) {
      return other.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (match != names.end()) relative = below + *match;
  }
  return InFolder(folder, relative) ? folder + relative : QString();
}

QStringList ListBoardTitles(const QString& folder) {
  QStringList titles = BoardFileNames(folder);
  for (QString& name : titles) name.chop(BoardExtension.size());
  return titles;
}

BoardChooser::BoardChooser(BoardAccess& board) : board_(board) {}

void BoardChooser::ApplyTexts() {
  const LanguageFile language;
  FileSizeErrorText = language.Text(Texts::FileSizeError);
  StoryRefusedText = language.Text(Texts::StoryRefused);
  FileExistText = language.Text(Texts::FileExist);
  FileNotExistText = language.Text(Texts::FileNotExist);
  ChooseLoadText = language.Text(Texts::LoadPrompt);
  ChooseSaveText = language.Text(Texts::StorePrompt);
  LoadDialogText = language.Text(Texts::LoadCaption);
  SaveDialogText = language.Text(Texts::StoreCaption);
  OkButton.Caption = language.Text(Texts::ChooserOk);
  CancelButton.Caption = language.Text(Texts::ChooserCancel);
}

void BoardChooser::OnShow() {
  Places::PrepareBoardFolder();
  TitleEdit.Text.clear();
  if (Mode == ChooserMode::Load) {
    Prompt.Caption = ChooseLoadText;
    Caption = LoadDialogText;
    ActiveControl = ChooserControl::TitleList;
  } else if (Mode == ChooserMode::Store) {
    Prompt.Caption = ChooseSaveText;
    Caption = SaveDialogText;
    ActiveControl = ChooserControl::TitleEdit;
  }
  ListTitles(BoardFolder());
}

void BoardChooser::ListTitles(const QString& folder) {
  TitleList.Items = ListBoardTitles(folder);
  TitleList.ItemIndex = -1;
}

void BoardChooser::SelectionChanged() {
  if (TitleList.ItemIndex >= 0 && TitleList.ItemIndex < TitleList.Items.size())
    TitleEdit.Text = TitleList.Items[TitleList.ItemIndex];
}

void BoardChooser::DoubleClicked() {
  Accept();
}

void BoardChooser::Accept() {
  const QString title = TitleEdit.Text;
  if (Mode == ChooserMode::None) return;
  const QString path = BoardFilePath(title);
  if (path.isEmpty()) {
    ShowErrorBox(RefusedTitle(title));
    return;
  }
  const bool exists = QFileInfo(path).isFile();
  if (Mode == ChooserMode::Load) {
    if (exists)
      LoadBoard(title, path);
    else
      ShowMessage(FormatWithTitle(FileNotExistText, title));
  } else {
    StoreBoard(title, path, exists);
  }
}

void BoardChooser::Cancel() {
  Result = DialogResult::Cancel;
}

void BoardChooser::LoadBoard(const QString& title, const QString& path) {
  const QSize size = board_.BoardPicture().size();
  try {
    board_.LoadPicture(ReadBmpFile(path, {size, size}));
    Result = DialogResult::OK;
    StoredStory stored = ReadStoredStory(path, board_.BoardPicture());
    if (stored.story)
      board_.ContinueStory(std::move(*stored.story));
    else if (!stored.refusal.isEmpty())
      ShowMessage(FormatWithTitle(StoryRefusedText, title));
  } catch (const BmpSizeError&) {
    ShowMessage(FormatWithTitle(FileSizeErrorText, title));
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
}

void BoardChooser::StoreBoard(const QString& title, const QString& path, bool exists) {
  if (exists) {
    MessageBoxRequest question{FormatWithTitle(FileExistText, title), ApplicationTitle(),
                               BoxIcon::Question};
    question.YesNo = true;
    if (ShowMessageBox(question) != BoxAnswer::Yes) return;
  }
  // A board folder that could not be made when the chooser opened is named as the cause.
  if (const QString reason = Places::PrepareBoardFolder(); !reason.isEmpty()) {
    ShowErrorBox(QStringLiteral("Cannot create folder \"%1\". %2").arg(BoardFolder(), reason));
    return;
  }
  try {
    // The story first: a picture that then fails to be written keeps the story it had, and a story
    // that ends on another picture is not trusted.
    if (const QByteArray story = board_.EncodedStory(); !story.isEmpty())
      WriteFileAtomically(StoryPathOf(path), story);
    WriteBmpFile(board_.BoardPicture(), path);
    Result = DialogResult::OK;
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
}

void ShowLoadChooser(BoardChooser& chooser) {
  chooser.Mode = BoardChooser::ChooserMode::Load;
  chooser.ShowModal();
}

void ShowStoreChooser(BoardChooser& chooser) {
  chooser.Mode = BoardChooser::ChooserMode::Store;
  chooser.ShowModal();
}

}  // namespace slatewick
