#include "files/VideoCommandLine.h"

#include <QDir>
#include <QFileInfo>

#include "board/Board.h"
#include "files/BoardChooser.h"
#include "files/StoredStory.h"
#include "files/StoryVideo.h"
#include "platform/AppError.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/PictureFiles.h"

namespace slatewick {

namespace {

// Why the output cannot be written, before anything is encoded; empty when it can be.
QString OutputProblem(const QString& output) {
  const QFileInfo target(output);
  const QFileInfo folder(target.absolutePath());
  if (!folder.isDir()) return QStringLiteral("its folder does not exist");
  if (!folder.isWritable()) return QStringLiteral("its folder is not writable");
  if (target.exists() && !target.isFile()) return QStringLiteral("it is not a regular file");
  return {};
}

}  // namespace

CommandLineAction CommandLineActionOf(const QStringList& arguments) {
  const QString first = arguments.value(1);
  if (first == u"--help" || first == u"-h") return CommandLineAction::Help;
  if (first == u"--video") return CommandLineAction::Video;
  return CommandLineAction::OpenWindow;
}

QString CommandLineHelp() {
  return QStringLiteral(
      "Usage: slatewick [--video TITLE OUT.webm]\n"
      "A blackboard to draw on with chalk.\n\n"
      "  --video TITLE OUT.webm  write the stored board TITLE's drawing, as it was drawn,\n"
      "                          as a WebM video (VP9 and Opus), without opening a window\n"
      "  -h, --help              show this help\n");
}

int RunVideoCommand(const QStringList& arguments, QTextStream& errors) {
  const auto fail = [&errors](const QString& line, int status = 1) {
    errors << "slatewick: " << line << Qt::endl;
    return status;
  };
  if (arguments.size() != 4 || arguments[1] != u"--video")
    return fail(QStringLiteral("usage: slatewick --video TITLE OUT.webm"), 2);
  const QString title = arguments[2], output = arguments[3];

  SystemClock clock;
  NoSoundOutput sound;
  Environment env(clock, sound);
  Board board(env);
  try {
    board.Start();
  } catch (const AppError& error) {
    return fail(error.Message());
  }
  const QString path = BoardFilePath(title);
  if (path.isEmpty() || !QFileInfo(path).isFile())
    return fail(QStringLiteral("there is no stored board \"%1\"").arg(title));
  QImage picture;
  try {
    picture = ReadBmpFile(path);
  } catch (const AppError& error) {
    return fail(error.Message());
  }
  const StoredStory stored = ReadStoredStory(path, picture);
  if (!stored.refusal.isEmpty())
    return fail(QStringLiteral("the story of the board \"%1\" cannot be read: %2")
                    .arg(title, stored.refusal));
  if (!stored.story)
    return fail(QStringLiteral("the board \"%1\" has no story to write (it was stored without "
                               "one, or changed elsewhere)")
                    .arg(title));
  if (const QString problem = OutputProblem(output); !problem.isEmpty())
    return fail(QStringLiteral("cannot write \"%1\": %2").arg(output, problem));
  try {
    WriteStoryVideo(*stored.story, board.Pictures(), board.TapSoundImage(), output, {});
  } catch (const AppError& error) {
    return fail(error.Message());
  }
  return 0;
}

}  // namespace slatewick
