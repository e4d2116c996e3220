#pragma once
#include <QString>
#include <QStringList>

namespace slatewick {

// Where the program's files live, in one of two layouts decided once, at the first question:
// - portable: a picture lies beside the executable (the build folder, an unpacked copy, also
//   one in a read-only folder, where writing then fails). Everything is read and written beside
//   the executable; the tap sound is read from the current directory.
// - installed: the data files are read from the install's share folder (../share/slatewick
//   seen from the executable); the settings, board files and screenshots go to the user's
//   folders ($XDG_CONFIG_HOME/slatewick, $XDG_DATA_HOME/slatewick/users, the pictures folder);
//   the kept board goes to $XDG_STATE_HOME/slatewick (~/.local/state/slatewick by default).
//   Where HOME is unset or empty, the home folder is taken from the password database (and HOME
//   set to it); a user without one there gets the missing "/nonexistent", which is never made,
//   so that writes fail rather than land in "/".
// Folders are returned with a trailing '/'.
namespace Places {

enum class Layout { Portable, Installed };

Layout CurrentLayout();
// The layout of a program whose executable lies in exeDir.
Layout LayoutFor(const QString& exeDir);

QString Picture(const QString& name);  // one of the six pictures, by file name
QString TapSound();                    // "start0.wav"; bare (current directory) when portable
QString LanguageFolder();              // holds Language.ini and Language_<lcid>.ini
QString SettingsFile();                // VezozazOption.ini
QString BoardFolder();                 // users/
QString ScreenShotFolder();
// The kept boards: "LastBoard.bmp" beside the executable (outside users/, so the board chooser
// never lists them), or in the state folder when installed; slot 0 is that name, which a single
// running program uses, and slots 1 .. KeptBoardSlots - 1 "LastBoard-2.bmp" and so on, which
// programs running beside it use.
constexpr int KeptBoardSlots = 8;
QString KeptBoard(int slot = 0);

// Create the settings file's folder or the screenshot folder when the installed layout puts it
// in a user folder that is missing (with its parents). The portable folder is the executable's
// own and is left alone. A failure surfaces when the file cannot be written.
void PrepareSettingsFolder();
void PrepareScreenShotFolder();
void PrepareKeptBoardFolder();
// The folders the program writes files in (settings, kept boards, board files, screenshots),
// each once.
QStringList WrittenFolders();
// Create the board folder if it is missing, in either layout; the system's reason when that
// fails (empty when the folder is there).
QString PrepareBoardFolder();

}  // namespace Places

// The executable's folder, with a trailing separator: the portable layout's root.
QString ExeDir();
// Tests: the portable layout rooted at dir from now on; an empty dir returns to the layout
// decided at start-up.
void SetExeDir(const QString& dir);
// Tests: the installed layout reading its data files from shareDir, the user folders from the
// XDG variables of the moment; an empty shareDir returns to the layout decided at start-up.
void SetInstalledShareDir(const QString& shareDir);

}  // namespace slatewick
