// The settings dialog and the version box, reached through the main window's popup menu.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include "board/BoardFixture.h"
#include "board/ChalkSamples.h"
#include "board/widgets/MainWindow.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFixture.h"
#include "settings/widgets/SettingsCommands.h"
#include "settings/widgets/SettingsDialog.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

const QString kJapaneseCredit = u"制作：Slatewick 開発チーム"_s;

// A program folder of its own in a Japanese locale.
class MenuDialogs : public ExeFolderTest {
 protected:
  void SetUp() override {
    ExeFolderTest::SetUp();
    PinUserLocaleNumber(1041);
    SetApplicationTitle(u"Slatewick 2"_s);
    for (const QString& name : QDir(QStringLiteral(ASSET_DIR)).entryList(QDir::Files))
      if (!name.startsWith(u"Language"))
        QFile::copy(QStringLiteral(ASSET_DIR "/") + name, Path(name));
  }
  TestEnvironment test;
};

TEST_F(MenuDialogs, SettingsCommandShowsItModallyAndOkAppliesAtTheNextFrame) {
  MainWindow window(test.env);
  window.Create();
  Board& board = window.Core();
  board.Commands().settings =
      SettingsCommand(window, board.SettingsInUse(), DrawChalkSamples(test.env.random));
  auto* dialog = window.findChild<SettingsDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->parentWidget(), &window);
  EXPECT_EQ(dialog->windowTitle(), u"Slatewick 2の設定"_s);
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_TRUE(board.Commands().settings);

  window.Core().Compose();
  const QImage without = board.Surface().FrontBuffer().copy(30, 30, 200, 40);
  bool wasModal = false;
  QTimer::singleShot(0, dialog, [&] {
    wasModal = dialog->isVisible() && dialog->isModal();
    dialog->Box(6).click();
    dialog->OkButton().click();
  });
  window.Core().RunMenuCommand(int(MenuItem::Settings));
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(board.SettingsInUse().ShowDebug);
  EXPECT_TRUE(ReadSettings().ShowDebug);
  // The debug overlay is on the very next frame.
  window.Core().Compose();
  EXPECT_NE(board.Surface().FrontBuffer().copy(30, 30, 200, 40), without);
}

TEST_F(MenuDialogs, VersionCommandShowsTheVersionBox) {
  PinUserLocaleNumber(1041);
  MainWindow window(test.env);
  EXPECT_FALSE(window.Core().Commands().about);
  window.Core().Commands().about = AboutCommand();
  window.Core().RunMenuCommand(int(MenuItem::About));
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].Text, u"Slatewick 2\nVer. 2.00\n"_s + kJapaneseCredit);
  EXPECT_EQ(boxes_[0].Caption, ApplicationTitle());
}

}  // namespace

}  // namespace slatewick
