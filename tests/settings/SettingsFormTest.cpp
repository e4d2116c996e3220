// The settings dialog: its texts, its check boxes, OK and Cancel, a settings file that cannot be
// written, its window and its place in the main window's menu.
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "SettingsFixture.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsForm.h"
#include "settings/widgets/SettingsDialog.h"
#include "support/Pictures.h"

namespace slatewick {

namespace {

using namespace Qt::StringLiterals;

Settings FromBits(std::array<bool, 7> b) {
  return {b[0], b[1], b[2], b[3], b[4], b[5], b[6]};
}

std::array<bool, 7> Bits(const Settings& s) {
  return {s.LeaveSmudge, s.LimitStrokeLength,  s.DateAtStart, s.DateAfterClear,
          s.ShowDust,    s.CornerOnlyWithCtrl, s.ShowDebug};
}

// The window's caption, the seven boxes, the three labels, OK and Cancel.
QStringList Captions(SettingsForm& form) {
  QStringList texts{form.Caption};
  for (const CheckBox* box : form.CheckBoxes()) texts << box->Caption;
  return texts << form.NormalChalkLabel.Caption << form.ChalkCornerLabel.Caption
               << form.LaidChalkLabel.Caption << form.OkButton.Caption << form.CancelButton.Caption;
}

// A program folder of its own in a Japanese locale, the settings as read without a
// settings file.
class SettingsFormTest : public ExeFolderTest {
 protected:
  void SetUp() override {
    ExeFolderTest::SetUp();
    PinUserLocaleNumber(1041);
    SetApplicationTitle(u"Slatewick 2"_s);
    settings = Settings{};
  }
  QString SettingsFile() const { return Path("VezozazOption.ini"); }
  // The settings folder is a regular file: nothing can be written below it.
  QString BlockSettingsFolder() {
    WriteBytes(Path("blocker"), "not a folder");
    SetExeDir(Path("blocker"));
    return Path("blocker") + "/VezozazOption.ini";
  }

  Settings settings;
  // Stands in for the board's picture of the chalk: the dialog shows whatever it is given.
  QImage samples = Blocks(267, 73);
};

using SettingsDialogWindow = SettingsFormTest;

// The next control that Tab moves to.
QWidget* NextTabStop(QWidget* w) {
  do w = w->nextInFocusChain();
  while (!(w->focusPolicy() & Qt::TabFocus));
  return w;
}

void ExpectBoxesShow(SettingsDialog& dialog, const Settings& settings) {
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(dialog.Box(i).isChecked(), Bits(settings)[std::size_t(i)]) << i;
}

void Press(QWidget& widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
}

}  // namespace

// Each key that the locale's language file has replaces the dialog's own text, even with an
// empty one; a key it lacks keeps the dialog's own text, not the other file's.
TEST_F(SettingsFormTest, TextsComeFromTheLanguageFileOfTheLocaleOrTheDialogItself) {
  const QStringList own = {u"Slatewick 2の設定"_s,
                           u"黒板消しや指の汚れ"_s,
                           u"普通チョークの距離制限（推奨）"_s,
                           u"起動時に日付を描画する"_s,
                           u"全部消す時に日付を描画する"_s,
                           u"粉を落とす"_s,
                           u"チョークの角を使うのは[Ctrl]キーを押した時だけ"_s,
                           u"内部数値の表示（デバッグモード）"_s,
                           u"普通チョーク"_s,
                           u"チョークの角"_s,
                           u"倒したチョーク"_s,
                           u"OK(&O)"_s,
                           u"ｷｬﾝｾﾙ(&C)"_s};
  SettingsForm plain(settings, samples);
  plain.ApplyTexts();
  EXPECT_EQ(Captions(plain), own);

  WriteBytes(Path("Language_1041.ini"),
             "[preferencedialog]\r\ntitle=Options\r\nDirt=Smudges\r\nShowDebug=\r\nChalkC=Laid\r\n"
             "[General]\r\nOK=Fine\r\nCancel=Back\r\n");
  WriteBytes(Path("Language.ini"), "[PreferenceDialog]\r\nChalkA=From the other file\r\n");
  SettingsForm form(settings, samples);
  form.ApplyTexts();
  EXPECT_EQ(Captions(form), (QStringList{"Options", "Smudges", own[2], own[3], own[4], own[5],
                                         own[6], "", own[8], own[9], "Laid", "Fine", "Back"}));
}

TEST_F(SettingsFormTest, ShowLoadsEachBoxFromItsSetting) {
  SettingsForm form(settings, samples);
  form.OnShow();
  EXPECT_EQ(Bits(form.Checked()),
            (std::array<bool, 7>{true, true, true, false, true, false, false}));
  for (std::size_t i = 0; i < 7; ++i) {
    std::array<bool, 7> one{};
    one[i] = true;
    settings = FromBits(one);
    form.OnShow();
    EXPECT_EQ(Bits(form.Checked()), one) << i;
    EXPECT_TRUE(form.CheckBoxes()[i]->Checked);
  }
}

TEST_F(SettingsFormTest, OkWritesAllSevenKeysThenAppliesThem) {
  SettingsForm form(settings, samples);
  form.OnShow();
  const std::array<bool, 7> chosen{false, true, false, true, false, true, true};
  for (std::size_t i = 0; i < 7; ++i) form.CheckBoxes()[i]->Checked = chosen[i];
  EXPECT_EQ(settings, Settings{});
  ASSERT_TRUE(form.Accept());

  EXPECT_EQ(settings, FromBits(chosen));
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(ReadBytes(SettingsFile()),
            "[Opt]\r\nYogore=0\r\nKyoriSeigen=1\r\nRunWithDay=0\r\nNewWithDay=1\r\nShowKona=0\r\n"
            "KadoOnlyCtrl=1\r\nShowDebug=1\r\n");
  EXPECT_EQ(ReadSettings(), FromBits(chosen));

  // The next opening shows what was stored.
  SettingsForm again(settings, samples);
  again.OnShow();
  EXPECT_EQ(Bits(again.Checked()), chosen);
}

TEST_F(SettingsFormTest, OkWithoutAChangeStillWritesEveryKey) {
  WriteBytes(SettingsFile(), "; mine\r\n[Other]\r\nx=1\r\n[Opt]\r\nShowDebug=1\r\n");
  settings = ReadSettings();
  SettingsForm form(settings, samples);
  form.OnShow();
  ASSERT_TRUE(form.Accept());
  EXPECT_EQ(ReadBytes(SettingsFile()),
            "; mine\r\n[Other]\r\nx=1\r\n[Opt]\r\nShowDebug=1\r\nYogore=1\r\nKyoriSeigen=1\r\n"
            "RunWithDay=1\r\nNewWithDay=0\r\nShowKona=1\r\nKadoOnlyCtrl=0\r\n");
  Settings expected;
  expected.ShowDebug = true;
  EXPECT_EQ(settings, expected);
}

// Two programs with their dialogs open at once: each OK writes all seven keys, but a box its
// user left alone does not undo what the other program stored meanwhile.
TEST_F(SettingsFormTest, OkKeepsWhatAnotherProgramStoredInTheBoxesLeftAlone) {
  Settings otherSettings;
  SettingsForm mine(settings, samples), other(otherSettings, samples);
  mine.OnShow();
  other.OnShow();
  other.LeaveSmudgeBox.Checked = false;
  ASSERT_TRUE(other.Accept());
  mine.ShowDustBox.Checked = false;
  ASSERT_TRUE(mine.Accept());
  Settings expected;
  expected.LeaveSmudge = expected.ShowDust = false;
  EXPECT_EQ(ReadSettings(), expected);
  EXPECT_EQ(settings, expected);
}

// The dialog's layout: a fixed client area holding every control whole, none over another;
// the boxes in a column 24 pixels apart in the order of the settings, each caption fitting its
// box; the picture whole in its panel below them, each label under its own sample stroke; OK,
// then Cancel, at the bottom.
TEST_F(SettingsDialogWindow, FixedClientWithTheControlsInTheirPlaces) {
  SettingsDialog dialog(settings, samples, nullptr);
  dialog.ApplyTexts();
  EXPECT_EQ(dialog.size(), QSize(301, 332));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  // The window shows the form's texts.
  QStringList shown{dialog.windowTitle()};
  for (int i = 0; i < 7; ++i) shown << dialog.Box(i).text();
  for (int i = 0; i < 3; ++i) shown << dialog.SampleLabel(i).text();
  EXPECT_EQ(shown << dialog.OkButton().text() << dialog.CancelButton().text(),
            Captions(dialog.Form()));

  std::vector<const QWidget*> controls;
  for (int i = 0; i < 7; ++i) controls.push_back(&dialog.Box(i));
  for (int i = 0; i < 3; ++i) controls.push_back(&dialog.SampleLabel(i));
  controls.insert(controls.end(), {&dialog.Panel(), &dialog.OkButton(), &dialog.CancelButton()});
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_TRUE(dialog.rect().contains(controls[i]->geometry())) << i;
    for (std::size_t j = i + 1; j < controls.size(); ++j)
      EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry())) << i << " " << j;
  }

  for (int i = 0; i < 7; ++i) {
    const QCheckBox& box = dialog.Box(i);
    EXPECT_EQ(box.pos(), dialog.Box(0).pos() + QPoint(0, 24 * i)) << i;
    EXPECT_LE(box.sizeHint().width(), box.width()) << i;
  }
  EXPECT_GT(dialog.Panel().y(), dialog.Box(6).geometry().bottom());
  EXPECT_EQ(dialog.Image().size(), QSize(267, 73));
  EXPECT_TRUE(dialog.Panel().contentsRect().contains(dialog.Image().geometry()));
  EXPECT_EQ(dialog.Image().pixmap().toImage().convertToFormat(QImage::Format_RGB32),
            dialog.Form().ChalkSamples);
  // The columns of the three sample strokes in the picture, left to right.
  const std::pair<int, int> strokes[] = {{26, 51}, {124, 147}, {232, 246}};
  const int imageLeft = dialog.Image().mapTo(&dialog, QPoint(0, 0)).x();
  for (int i = 0; i < 3; ++i) {
    const QRect label = dialog.SampleLabel(i).geometry();
    EXPECT_GT(label.top(), dialog.Panel().geometry().bottom()) << i;
    EXPECT_LE(label.left(), imageLeft + strokes[i].first) << i;
    EXPECT_GE(label.right(), imageLeft + strokes[i].first) << i;
  }
  const QRect ok = dialog.OkButton().geometry(), cancel = dialog.CancelButton().geometry();
  EXPECT_GT(ok.top(), dialog.SampleLabel(0).geometry().bottom());
  EXPECT_EQ(ok.top(), cancel.top());
  EXPECT_LT(ok.right(), cancel.left());
  EXPECT_TRUE(dialog.OkButton().isDefault());
  // Tab order: the seven boxes, OK, Cancel.
  QWidget* w = &dialog.Box(0);
  for (int i = 1; i < 7; ++i) {
    w = NextTabStop(w);
    EXPECT_EQ(w, &dialog.Box(i));
  }
  EXPECT_EQ(NextTabStop(w), &dialog.OkButton());
  EXPECT_EQ(NextTabStop(&dialog.OkButton()), &dialog.CancelButton());
  EXPECT_EQ(NextTabStop(&dialog.CancelButton()), &dialog.Box(0));
}

// The user changes three boxes and closes the dialog: Enter is OK, the others are Cancel. The
// next opening shows the settings as they then are.
TEST_F(SettingsDialogWindow, EnterIsOkWhileCancelEscapeAndTheCloseBoxChangeNothing) {
  const struct {
    const char* name;
    std::function<void(SettingsDialog&)> close;
    bool applies;
  } cases[] = {
      {"Cancel", [](SettingsDialog& d) { d.CancelButton().click(); }, false},
      {"Escape", [](SettingsDialog& d) { Press(d, Qt::Key_Escape); }, false},
      {"the close box", [](SettingsDialog& d) { d.close(); }, false},
      {"Enter", [](SettingsDialog& d) { Press(d, Qt::Key_Return); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(SettingsFile());
    Settings before;
    before.ShowDebug = true;
    settings = before;
    SettingsDialog dialog(settings, samples, nullptr);
    dialog.ApplyTexts();
    dialog.show();
    ExpectBoxesShow(dialog, before);
    for (int i : {3, 4, 6}) dialog.Box(i).click();
    Settings chosen = before;
    chosen.DateAfterClear = true;
    chosen.ShowDust = chosen.ShowDebug = false;
    EXPECT_EQ(dialog.Form().Checked(), chosen);

    c.close(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), c.applies ? QDialog::Accepted : QDialog::Rejected);
    const Settings after = c.applies ? chosen : before;
    EXPECT_EQ(settings, after);
    EXPECT_EQ(QFile::exists(SettingsFile()), c.applies);
    EXPECT_EQ(ReadSettings(), c.applies ? chosen : Settings{});

    dialog.show();
    ExpectBoxesShow(dialog, after);
  }
}

// A settings file that cannot be written: the error is shown, the settings stay as they were
// and the dialog stays open with the user's choices; once the folder takes the file, OK goes
// through.
TEST_F(SettingsDialogWindow, WriteErrorKeepsTheDialogOpenWithTheChoices) {
  SettingsDialog dialog(settings, samples, nullptr);
  dialog.ApplyTexts();
  dialog.show();
  const QString path = BlockSettingsFolder();
  for (int i : {0, 5, 6}) dialog.Box(i).click();
  Settings chosen;
  chosen.LeaveSmudge = false;
  chosen.CornerOnlyWithCtrl = chosen.ShowDebug = true;
  dialog.OkButton().click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.Form().Checked(), chosen);
  ExpectBoxesShow(dialog, chosen);
  EXPECT_EQ(settings, Settings{});
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].Text, path + u" に書き込めません."_s);
  EXPECT_EQ(boxes_[0].Icon, BoxIcon::Stop);
  EXPECT_EQ(boxes_[0].Caption, u"Slatewick 2"_s);

  SetExeDir(dir_.path());
  dialog.OkButton().click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(settings, chosen);
}

}  // namespace slatewick
