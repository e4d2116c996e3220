// The settings dialog: its texts, its boxes, OK and Cancel, a settings file that cannot be
// written, its window and its place in the main window's menu.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "board/BoardFixture.h"
#include "board/widgets/MainWindow.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "settings/ChalkSamples.h"
#include "settings/Language.h"
#include "settings/SettingsFile.h"
#include "settings/Unit_Option.h"
#include "settings/widgets/Install.h"
#include "settings/widgets/OptionDialog.h"

namespace {

const QStringList kKeys = {QStringLiteral("Yogore"),     QStringLiteral("KyoriSeigen"),
                           QStringLiteral("RunWithDay"), QStringLiteral("NewWithDay"),
                           QStringLiteral("ShowKona"),   QStringLiteral("KadoOnlyCtrl"),
                           QStringLiteral("ShowDebug")};

Settings FromBits(std::array<bool, 7> b) {
  return {b[0], b[1], b[2], b[3], b[4], b[5], b[6]};
}

std::array<bool, 7> Bits(const Settings& s) {
  return {s.Yogore,   s.KyoriSeigen,  s.RunWithDay, s.NewWithDay,
          s.ShowKona, s.KadoOnlyCtrl, s.ShowDebug};
}

// A program folder of its own, a started board, message boxes recorded and answered OK.
class OptionDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetExeDir(dir.path() + u'/');
    SetUserDefaultLCID(1041);
    SetApplicationTitle(QStringLiteral("Slatewick 2"));
    SetMessageBoxHandler([this](const MessageBoxRequest& r) {
      boxes.push_back(r);
      return BoxAnswer::Ok;
    });
    StartBoard(board);
    board.st.Opt = Settings{};  // as read without a settings file
  }
  void TearDown() override {
    SetMessageBoxHandler({});
    SetExeDir(QString());
    SetUserDefaultLCID(0);
    SetApplicationTitle(QStringLiteral("Slatewick"));
  }
  QString Path(const QString& name) const { return dir.filePath(name); }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray SettingsFileBytes() const {
    QFile f(Path(QStringLiteral("VezozazOption.ini")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // The settings folder is a regular file: nothing can be written below it.
  QString BlockSettingsFolder() {
    Write(QStringLiteral("blocker"), "not a folder");
    SetExeDir(Path(QStringLiteral("blocker")) + u'/');
    return Path(QStringLiteral("blocker")) + QStringLiteral("/VezozazOption.ini");
  }

  QTemporaryDir dir;
  std::vector<MessageBoxRequest> boxes;
  TfrmMain board;
};

using OptionDialogWindow = OptionDialogTest;

// The next control that Tab moves to.
QWidget* NextTabStop(QWidget* w) {
  do w = w->nextInFocusChain();
  while (!(w->focusPolicy() & Qt::TabFocus));
  return w;
}

}  // namespace

TEST_F(OptionDialogTest, WithoutALanguageFileTheDialogsOwnTextsStand) {
  TfrmOption form(board.st);
  form.FormCreate();
  EXPECT_EQ(form.Caption.Caption, QStringLiteral("Slatewick 2の設定"));
  EXPECT_EQ(form.chkYogore.Caption, QStringLiteral("黒板消しや指の汚れ"));
  EXPECT_EQ(form.chkKyoriSeigen.Caption, QStringLiteral("普通チョークの距離制限（推奨）"));
  EXPECT_EQ(form.chkRunWithDay.Caption, QStringLiteral("起動時に日付を描画する"));
  EXPECT_EQ(form.chkNewWithDay.Caption, QStringLiteral("全部消す時に日付を描画する"));
  EXPECT_EQ(form.chkShowKona.Caption, QStringLiteral("粉を落とす"));
  EXPECT_EQ(form.chkKadoOnlyCtrl.Caption,
            QStringLiteral("チョークの角を使うのは[Ctrl]キーを押した時だけ"));
  EXPECT_EQ(form.chkShowDebug.Caption, QStringLiteral("内部数値の表示（デバッグモード）"));
  EXPECT_EQ(form.Label1.Caption, QStringLiteral("普通チョーク"));
  EXPECT_EQ(form.Label2.Caption, QStringLiteral("チョークの角"));
  EXPECT_EQ(form.Label3.Caption, QStringLiteral("倒したチョーク"));
  EXPECT_EQ(form.btnOK.Caption, QStringLiteral("OK(&O)"));
  EXPECT_EQ(form.btnCancel.Caption, QStringLiteral("ｷｬﾝｾﾙ(&C)"));
}

TEST_F(OptionDialogTest, TextsComeFromTheLanguageFileOfTheLocale) {
  Write(QStringLiteral("Language_1041.ini"),
        "[preferencedialog]\r\ntitle=Options\r\nDirt=Smudges\r\nShowDebug=\r\nChalkC=Laid\r\n"
        "[General]\r\nOK=Fine\r\nCancel=Back\r\n");
  Write(QStringLiteral("Language.ini"), "[PreferenceDialog]\r\nChalkA=From the other file\r\n");
  TfrmOption form(board.st);
  form.FormCreate();
  EXPECT_EQ(form.Caption.Caption, QStringLiteral("Options"));
  EXPECT_EQ(form.chkYogore.Caption, QStringLiteral("Smudges"));
  EXPECT_EQ(form.chkShowDebug.Caption, QString());
  EXPECT_EQ(form.Label3.Caption, QStringLiteral("Laid"));
  EXPECT_EQ(form.btnOK.Caption, QStringLiteral("Fine"));
  EXPECT_EQ(form.btnCancel.Caption, QStringLiteral("Back"));
  // Keys the chosen file lacks take the dialog's own texts, not the other file's.
  EXPECT_EQ(form.Label1.Caption, QStringLiteral("普通チョーク"));
  EXPECT_EQ(form.chkShowKona.Caption, QStringLiteral("粉を落とす"));
}

TEST_F(OptionDialogTest, ShowLoadsEachBoxFromItsSetting) {
  TfrmOption form(board.st);
  form.FormShow();
  EXPECT_EQ(Bits(form.Checked()),
            (std::array<bool, 7>{true, true, true, false, true, false, false}));
  for (std::size_t i = 0; i < 7; ++i) {
    std::array<bool, 7> one{};
    one[i] = true;
    board.st.Opt = FromBits(one);
    form.FormShow();
    EXPECT_EQ(Bits(form.Checked()), one) << i;
    EXPECT_TRUE(form.CheckBoxes()[i]->Checked);
  }
}

TEST_F(OptionDialogTest, OkWritesAllSevenKeysThenAppliesThem) {
  TfrmOption form(board.st);
  form.FormShow();
  const std::array<bool, 7> chosen{false, true, false, true, false, true, true};
  for (std::size_t i = 0; i < 7; ++i) form.CheckBoxes()[i]->Checked = chosen[i];
  EXPECT_EQ(board.st.Opt, Settings{});
  ASSERT_TRUE(form.btnOKClick());

  EXPECT_EQ(board.st.Opt, FromBits(chosen));
  EXPECT_TRUE(boxes.empty());
  QByteArray expected = "[Opt]\r\n";
  for (std::size_t i = 0; i < 7; ++i)
    expected += kKeys[qsizetype(i)].toLatin1() + (chosen[i] ? "=1\r\n" : "=0\r\n");
  EXPECT_EQ(SettingsFileBytes(), expected);
  EXPECT_EQ(ReadSettings(), FromBits(chosen));

  // The next opening shows what was stored.
  TfrmOption again(board.st);
  again.FormShow();
  EXPECT_EQ(Bits(again.Checked()), chosen);
}

TEST_F(OptionDialogTest, OkWithoutAChangeStillWritesEveryKey) {
  Write(QStringLiteral("VezozazOption.ini"),
        "; mine\r\n[Other]\r\nx=1\r\n[Opt]\r\nShowDebug=1\r\n");
  board.st.Opt = ReadSettings();
  TfrmOption form(board.st);
  form.FormShow();
  ASSERT_TRUE(form.btnOKClick());
  EXPECT_EQ(SettingsFileBytes(),
            "; mine\r\n[Other]\r\nx=1\r\n[Opt]\r\nShowDebug=1\r\nYogore=1\r\nKyoriSeigen=1\r\n"
            "RunWithDay=1\r\nNewWithDay=0\r\nShowKona=1\r\nKadoOnlyCtrl=0\r\n");
  Settings expected;
  expected.ShowDebug = true;
  EXPECT_EQ(board.st.Opt, expected);
}

TEST_F(OptionDialogTest, UnwritableFileKeepsTheSettingsAndTheChoices) {
  TfrmOption form(board.st);
  form.FormShow();
  const QString path = BlockSettingsFolder();
  form.chkShowDebug.Checked = true;
  form.chkYogore.Checked = false;
  EXPECT_FALSE(form.btnOKClick());

  EXPECT_EQ(board.st.Opt, Settings{});
  EXPECT_TRUE(form.chkShowDebug.Checked);
  EXPECT_FALSE(form.chkYogore.Checked);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, path + QStringLiteral(" に書き込めません."));
  EXPECT_EQ(boxes[0].Icon, BoxIcon::Stop);
  EXPECT_EQ(boxes[0].Caption, QStringLiteral("Slatewick 2"));

  // Once the folder can take the file, the same choices go through.
  SetExeDir(dir.path() + u'/');
  ASSERT_TRUE(form.btnOKClick());
  EXPECT_TRUE(board.st.Opt.ShowDebug);
  EXPECT_FALSE(board.st.Opt.Yogore);
}

TEST_F(OptionDialogTest, PictureShowsTheThreeWaysOfTheChalkOnItsGround) {
  const QImage picture = TfrmOption(board.st).Image1;
  ASSERT_EQ(picture.size(), QSize(267, 73));
  constexpr QRgb ground = ToQRgb(ChalkSamplesGround);
  struct Band {
    int left = 1000, right = -1, top = 1000, bottom = -1, pixels = 0;
    QSet<QRgb> colours;
  };
  std::array<Band, 3> bands;
  for (int y = 0; y < 73; ++y)
    for (int x = 0; x < 267; ++x) {
      const QRgb p = picture.pixel(x, y);
      if (p == ground) continue;
      const int r = qRed(p), g = qGreen(p), b = qBlue(p);
      Band& band = bands[x < 90 ? 0 : x < 190 ? 1 : 2];
      band.left = std::min(band.left, x), band.right = std::max(band.right, x);
      band.top = std::min(band.top, y), band.bottom = std::max(band.bottom, y);
      ++band.pixels;
      band.colours.insert(p);
      if (x < 90) {
        // The flat of the tip: white, evenly darkened a little.
        ASSERT_TRUE(r == g && g == b && r >= 241) << x << "," << y;
      } else {
        // The corner and the laid chalk: the white chalk's shades, green darkened less.
        ASSERT_TRUE(r == b && g == r + 20 && r >= 92 && r <= 191) << x << "," << y;
      }
    }
  // Left to right, each slanting over most of the height.
  EXPECT_EQ(bands[0].left, 26);
  EXPECT_GE(bands[0].right, 50);  // the pen is 5 to 7 pixels wide
  EXPECT_LE(bands[0].right, 51);
  EXPECT_GE(bands[1].left, 123);
  EXPECT_EQ(bands[1].right, 147);
  EXPECT_EQ(bands[2].left, 232);
  EXPECT_EQ(bands[2].right, 246);
  for (const Band& band : bands) EXPECT_GE(band.bottom - band.top, 55);
  // Thick, thin, broad and textured.
  EXPECT_GE(bands[0].pixels, 6 * 60);
  EXPECT_LE(bands[1].pixels, 2 * 61);
  EXPECT_GE(bands[2].pixels, 12 * 55);
  EXPECT_GE(bands[2].colours.size(), 20);
  // The board's specks of its own colour (the ground) lie inside the thick stroke.
  int specks = 0;
  for (int y = 20; y < 50; ++y) {
    int first = -1, last = -1;
    for (int x = 20; x < 60; ++x)
      if (picture.pixel(x, y) != ground) {
        if (first < 0) first = x;
        last = x;
      }
    for (int x = first + 1; x < last; ++x) specks += picture.pixel(x, y) == ground;
  }
  EXPECT_GT(specks, 0);
}

TEST_F(OptionDialogWindow, FixedClientWithTheControlsInTheirPlaces) {
  OptionDialog dialog(board.st, nullptr);
  dialog.FormCreate();
  EXPECT_EQ(dialog.size(), QSize(301, 332));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Slatewick 2の設定"));
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(dialog.CheckBox(i).geometry(), QRect(16, 16 + 24 * i, 281, 17)) << i;
    EXPECT_EQ(dialog.CheckBox(i).text(), dialog.Form().CheckBoxes()[std::size_t(i)]->Caption);
  }
  EXPECT_EQ(dialog.Panel().geometry(), QRect(16, 184, 271, 77));
  EXPECT_EQ(dialog.Image().size(), QSize(267, 73));
  EXPECT_EQ(dialog.Image().pixmap().toImage().convertToFormat(QImage::Format_RGB32),
            dialog.Form().Image1);
  EXPECT_EQ(dialog.Label(0).pos(), QPoint(16, 272));
  EXPECT_EQ(dialog.Label(1).pos(), QPoint(120, 272));
  EXPECT_EQ(dialog.Label(2).pos(), QPoint(216, 272));
  EXPECT_EQ(dialog.Label(2).text(), QStringLiteral("倒したチョーク"));
  EXPECT_EQ(dialog.OkButton().geometry(), QRect(112, 296, 81, 25));
  EXPECT_EQ(dialog.CancelButton().geometry(), QRect(208, 296, 75, 25));
  EXPECT_EQ(dialog.OkButton().text(), QStringLiteral("OK(&O)"));
  EXPECT_EQ(dialog.CancelButton().text(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
  EXPECT_TRUE(dialog.OkButton().isDefault());
  // Tab order: the seven boxes, OK, Cancel.
  QWidget* w = &dialog.CheckBox(0);
  for (int i = 1; i < 7; ++i) {
    w = NextTabStop(w);
    EXPECT_EQ(w, &dialog.CheckBox(i));
  }
  EXPECT_EQ(NextTabStop(w), &dialog.OkButton());
  EXPECT_EQ(NextTabStop(&dialog.OkButton()), &dialog.CancelButton());
  EXPECT_EQ(NextTabStop(&dialog.CancelButton()), &dialog.CheckBox(0));
}

TEST_F(OptionDialogWindow, CancelChangesNothingAndTheNextOpeningShowsTheSettings) {
  board.st.Opt.ShowDebug = true;
  OptionDialog dialog(board.st, nullptr);
  dialog.FormCreate();
  dialog.show();
  EXPECT_TRUE(dialog.CheckBox(6).isChecked());
  EXPECT_FALSE(dialog.CheckBox(3).isChecked());
  dialog.CheckBox(6).click();
  dialog.CheckBox(3).click();
  EXPECT_FALSE(dialog.Form().chkShowDebug.Checked);
  dialog.CancelButton().click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(board.st.Opt.ShowDebug);
  EXPECT_FALSE(board.st.Opt.NewWithDay);
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("VezozazOption.ini"))));

  dialog.show();
  EXPECT_TRUE(dialog.CheckBox(6).isChecked());
  EXPECT_FALSE(dialog.CheckBox(3).isChecked());
}

TEST_F(OptionDialogWindow, EscapeAndTheCloseBoxAreCancel) {
  OptionDialog dialog(board.st, nullptr);
  dialog.FormCreate();
  dialog.show();
  dialog.CheckBox(0).click();
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &esc);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);

  dialog.show();
  EXPECT_TRUE(dialog.CheckBox(0).isChecked());
  dialog.CheckBox(0).click();
  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(board.st.Opt, Settings{});
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("VezozazOption.ini"))));
}

TEST_F(OptionDialogWindow, EnterIsOk) {
  OptionDialog dialog(board.st, nullptr);
  dialog.FormCreate();
  dialog.show();
  dialog.CheckBox(4).click();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &enter);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(board.st.Opt.ShowKona);
  EXPECT_FALSE(ReadSettings().ShowKona);
}

TEST_F(OptionDialogWindow, WriteErrorKeepsTheDialogOpenWithTheChoices) {
  OptionDialog dialog(board.st, nullptr);
  dialog.FormCreate();
  dialog.show();
  BlockSettingsFolder();
  dialog.CheckBox(5).click();
  dialog.OkButton().click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.CheckBox(5).isChecked());
  EXPECT_FALSE(board.st.Opt.KadoOnlyCtrl);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Icon, BoxIcon::Stop);

  SetExeDir(dir.path() + u'/');
  dialog.OkButton().click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(board.st.Opt.KadoOnlyCtrl);
}

TEST_F(OptionDialogWindow, MenuCommandShowsItModallyAndOkAppliesAtTheNextFrame) {
  MainWindow window;
  StartBoard(window.Board());
  InstallOptionDialog(window);
  auto* dialog = window.findChild<OptionDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->parentWidget(), &window);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Slatewick 2の設定"));
  EXPECT_FALSE(dialog->isVisible());
  ASSERT_TRUE(window.Board().onOption);

  window.Board().AllRewrite();
  const QImage without = window.Board().DXDraw.FrontBuffer().copy(30, 30, 200, 40);
  bool wasModal = false;
  QTimer::singleShot(0, dialog, [&] {
    wasModal = dialog->isVisible() && dialog->isModal();
    dialog->CheckBox(6).click();
    dialog->OkButton().click();
  });
  window.Board().RunMenuCommand(int(MenuItem::Option));
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(window.Board().st.Opt.ShowDebug);
  EXPECT_TRUE(ReadSettings().ShowDebug);
  // The debug overlay is on the very next frame.
  window.Board().AllRewrite();
  EXPECT_NE(window.Board().DXDraw.FrontBuffer().copy(30, 30, 200, 40), without);
}
