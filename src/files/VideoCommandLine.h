#pragma once
#include <QStringList>
#include <QTextStream>

namespace slatewick {

// The program's command line beyond Qt's own options: "--help", and "--video TITLE OUT.webm",
// which writes the stored board TITLE's story (titles as the chooser reads them) as a video
// without a window.
enum class CommandLineAction { OpenWindow, Help, Video };
CommandLineAction CommandLineActionOf(const QStringList& arguments);  // arguments[0]: the program

// What --help prints.
QString CommandLineHelp();

// Runs "--video TITLE OUT.webm" (arguments as given to the program, Qt's own taken out) and
// returns the exit status: 0 with the video written; otherwise one line on `errors` saying why (no
// such board, no story or a broken one, an output that cannot be written, a failed encoding) and
// 1, or 2 for arguments that are not "--video TITLE OUT.webm". Needs a QGuiApplication; shows no
// window.
int RunVideoCommand(const QStringList& arguments, QTextStream& errors);

}  // namespace slatewick
