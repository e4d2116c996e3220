#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <csignal>

#include "platform/widgets/QuitSignals.h"

namespace slatewick {

// Each quit signal closes what is open, whichever loop runs (a question box's, a popup menu's,
// the program's own), and then quits.
TEST(QuitSignals, CloseMenusAndDialogsThenQuit) {
  enum class Open { QuestionBox, PopupMenu, Nothing };
  const struct {
    int signal;
    Open open;
  } cases[] = {{SIGTERM, Open::QuestionBox}, {SIGINT, Open::PopupMenu}, {SIGHUP, Open::Nothing}};
  for (const auto& c : cases) {
    QWidget window;
    window.show();
    int quits = 0;
    QEventLoop program;
    QuitOnSignals([&] {
      ++quits;
      window.close();
      program.quit();
    });
    QTimer::singleShot(0, [&] { std::raise(c.signal); });
    QMessageBox box(QMessageBox::Question, QStringLiteral("Slatewick"), QStringLiteral("Clear?"),
                    QMessageBox::Yes | QMessageBox::No, &window);
    QMenu menu(&window);
    menu.addAction(QStringLiteral("Quit"));
    if (c.open == Open::QuestionBox) box.exec();
    if (c.open == Open::PopupMenu) menu.exec(QPoint(100, 100));
    if (quits == 0) {
      QTimer::singleShot(5000, &program, &QEventLoop::quit);
      program.exec();
    }
    EXPECT_EQ(quits, 1) << "signal " << c.signal;
    EXPECT_FALSE(box.isVisible() || menu.isVisible() || window.isVisible())
        << "signal " << c.signal;
  }
  QuitOnSignals({});
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) std::signal(signal, SIG_DFL);
}

}  // namespace slatewick
