#include <QFileInfo>
#include <QSettings>

#include "board/ChalkSamples.h"
#include "board/widgets/MainWindow.h"
#include "files/VideoCommandLine.h"
#include "files/widgets/FileCommands.h"
#include "files/widgets/VideoExport.h"
#include "platform/Environment.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/QtMessageBoxes.h"
#include "platform/widgets/QtTranslations.h"
#include "platform/widgets/QuitSignals.h"
#include "settings/widgets/SettingsCommands.h"

using namespace slatewick;

// The main block: the application object, the main window (whose start-up runs as it is
// created), then the message loop until the main window closes. The rest of start-up (the tap
// sound, the last run's board) and the three dialogs, in their order, come once the first frame
// is on screen, so that they do not hold it up; until then the dialogs' menu commands do nothing. A
// quit signal closes the main window as the menu's quit command does. "--help" and "--video"
// (VideoCommandLine) run without a window or a display.
int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
  switch (CommandLineActionOf(arguments)) {
    case CommandLineAction::Help:
      QTextStream(stdout) << CommandLineHelp();
      return 0;
    case CommandLineAction::Video: {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      // One line on what went wrong, without Qt's notes about the desktop it runs without.
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) QTextStream(stderr) << text << Qt::endl;
      });
      QGuiApplication app(argc, argv);
      QTextStream errors(stderr);
      return RunVideoCommand(app.arguments(), errors);
    }
    case CommandLineAction::OpenWindow:
      break;
  }
  Application app(argc, argv);
  QGuiApplication::setDesktopFileName(QStringLiteral(SLATEWICK_APP_ID));
  InstallQtTranslations(QLocale::system());
  SetApplicationTitle(QStringLiteral("Slatewick"));
  InstallQtMessageBoxes();
  // Qt's own settings (the file dialog's state) go beside the program's settings file.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QFileInfo(Places::SettingsFile()).path());

  SystemClock clock;
  DeviceSoundOutput sound;
  Environment env(clock, sound);
  MainWindow window(env);
  bool quit = false;  // a signal during start-up ends it before the window shows
  QuitOnSignals([&window, &quit] {
    quit = true;
    window.Core().Quit();
  });
  window.Create();
  if (quit) return 0;
  window.show();
  window.AfterFirstPaint(
      [&window] {
        Board& board = window.Core();
        board.AfterShown();
        InstallBoardFileCommands(window);
        board.Commands().settings =
            SettingsCommand(window, board.SettingsInUse(), DrawChalkSamples(board.Env().random));
        InstallExportCommands(window);
        InstallVideoCommand(window);
        board.Commands().about = AboutCommand();
      },
      1000);
  return app.exec();
}
