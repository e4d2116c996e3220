#pragma once
#include <QString>
#include <QStringList>

#include "platform/FormModel.h"

namespace slatewick {

class BoardAccess;

// The board folder (Places): "users/" beside the executable, or the user's data folder when
// installed; with a trailing separator.
QString BoardFolder();
// The file of the board with this title, as Windows' file system finds it: the board folder +
// title + ".bmp" when that is a file, else the first board file of its folder (in listing order)
// whose name differs from that only in letter case, else the exact name (where a new board goes).
// The title is used as typed, "\" read as "/": "2024/lesson" names lesson.bmp in the board
// folder's subfolder 2024 (a missing subfolder fails as a missing file does). A title holding
// NUL, an absolute one, and one whose real path (through "..", and symbolic links, also one that
// leads nowhere) lies outside the board folder give the empty text.
QString BoardFilePath(const QString& title);
// The titles of the board files in folder: regular files (hidden ones too) whose names end in
// ".bmp" in any letter case, without that extension, in title order (letter case ignored first,
// as Windows' own file system orders them). Folders are skipped. A missing folder lists nothing.
QStringList ListBoardTitles(const QString& folder);

// The board-file chooser. It loads a board into the board picture or stores the board picture,
// as its Mode says when it is shown.
class BoardChooser : public ModalForm {
 public:
  enum class ChooserControl { TitleEdit, TitleList };
  enum class ChooserMode { None, Load, Store };

  explicit BoardChooser(BoardAccess& board);

  ChooserMode Mode = ChooserMode::None;  // set by the menu command that shows the chooser

  Label Prompt;
  TextEdit TitleEdit;
  ListBox TitleList;
  Button OkButton;
  Button CancelButton;
  ChooserControl ActiveControl = ChooserControl::TitleEdit;

  // The texts of the chooser, looked up once by ApplyTexts.
  QString FileSizeErrorText, FileExistText, FileNotExistText, StoryRefusedText;
  QString ChooseLoadText, ChooseSaveText, LoadDialogText, SaveDialogText;

  void ApplyTexts();
  void OnShow() override;
  // The selection changed: its title goes into TitleEdit.
  void SelectionChanged();
  void DoubleClicked();
  // Loads or stores the board named in TitleEdit, with its story (StoredStory); closes the dialog
  // (Result OK) on success. Messages, the overwrite question and failures leave the dialog open. A
  // title that names no file in the board folder (see BoardFilePath) gives the error box, before
  // any question, and nothing is read or written.
  void Accept();
  void Cancel();

 private:
  void ListTitles(const QString& folder);
  void LoadBoard(const QString& title, const QString& path);
  void StoreBoard(const QString& title, const QString& path, bool exists);

  BoardAccess& board_;
};

// The popup menu's load and store commands: set the chooser's Mode and show it.
void ShowLoadChooser(BoardChooser& chooser);
void ShowStoreChooser(BoardChooser& chooser);

}  // namespace slatewick
