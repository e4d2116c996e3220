#include <QFileInfo>
#include <QImageReader>
#include <optional>

#include "files/Export.h"
#include "files/ExportKindChooser.h"
#include "files/FilesFixture.h"
#include "platform/Clock.h"
#include "platform/PictureFiles.h"
#include "settings/Language.h"
#include "support/JpegDecode.h"

namespace slatewick {

namespace {

class SizedHost : public BoardHost {
 public:
  QSize size{800, 480};
  QSize ClientSize() const override { return size; }
  void Close() override {}
  int PopupMenu(const QStringList&) override { return -1; }
};

class ExportTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    howTo.ApplyTexts();
    saveFile.Filter = ExportFilter("BMP", "JPG", "PNG");
    frm.Surface().BackBuffer() = Blocks(800, 480);
    frm.Surface().PresentFrame();
    ASSERT_EQ(frm.Surface().FrontBuffer(), Blocks(800, 480));
    ASSERT_TRUE(frm.Timer().Enabled());
  }

  // The save dialog answers with path, or is cancelled when path is empty.
  void ChooseFile(const QString& path) {
    saveFile.OnExecute = [this, path](SaveFileModel& dialog) {
      timerInDialogs.push_back(frm.Timer().Enabled());
      if (path.isEmpty()) return false;
      dialog.FileName = path;
      return true;
    };
  }
  // The export-kind dialog: 0 or 1 picks that kind and OK, nullopt confirms what is shown,
  // cancel closes it without OK.
  void ChooseKind(std::optional<int> kind, bool cancel = false) {
    howTo.RunModal = [this, kind, cancel] {
      timerInDialogs.push_back(frm.Timer().Enabled());
      kindShown = howTo.BoardOnlyButton.Checked ? 0 : howTo.WholeWindowButton.Checked ? 1 : -1;
      if (kind) {
        howTo.BoardOnlyButton.Checked = *kind == 0;
        howTo.WholeWindowButton.Checked = *kind == 1;
      }
      if (!cancel) howTo.Accept();
    };
  }
  void Export() { ExportPicture(frm, saveFile, howTo); }
  void ExportAs(const QString& name, std::optional<int> kind) {
    ChooseFile(Path(name));
    ChooseKind(kind);
    Export();
  }

  SaveFileModel saveFile;
  ExportKindChooser howTo;
  std::vector<bool> timerInDialogs;
  int kindShown = -2;
};

TEST_F(ExportTest, TheBoardPictureAsBmpEqualsTheBoardAndTheChoiceStaysForTheNextExport) {
  ExportAs(QStringLiteral("board.bmp"), 0);
  EXPECT_EQ(howTo.ExportKind, 0);
  const QByteArray file = ReadBytes(Path("board.bmp"));
  ASSERT_GE(file.size(), 54);
  EXPECT_EQ(quint8(file[28]), 24);
  EXPECT_EQ(ReadBmpFile(Path("board.bmp")), frm.BoardPicture());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(timerInDialogs, (std::vector<bool>{false, false}));
  EXPECT_TRUE(frm.Timer().Enabled());

  ExportAs(QStringLiteral("second.bmp"), std::nullopt);
  EXPECT_EQ(kindShown, 0);
  EXPECT_EQ(ReadBmpFile(Path("second.bmp")), frm.BoardPicture());
}

TEST_F(ExportTest, TheFirstExportOffersTheWindowPictureWhichEqualsTheWindow) {
  frm.Surface().BackBuffer().fill(Qt::magenta);  // composed but not yet shown
  ExportAs(QStringLiteral("window.bmp"), std::nullopt);
  EXPECT_EQ(kindShown, 1);
  EXPECT_EQ(howTo.ExportKind, 1);
  EXPECT_EQ(ReadBmpFile(Path("window.bmp")), Blocks(800, 480));
  EXPECT_TRUE(frm.Timer().Enabled());
}

TEST_F(ExportTest, TheWindowPictureHasTheClientSize) {
  SizedHost host;
  host.size = {640, 400};
  Board sized(test.env, &host);
  sized.Surface().BackBuffer() = Blocks(800, 480);
  sized.Surface().PresentFrame();
  EXPECT_EQ(sized.WindowPicture(), Blocks(800, 480).copy(0, 0, 640, 400));
}

TEST_F(ExportTest, AJpgNameGivesABaselineQuality90Jpeg) {
  frm.BoardPicture() = Blocks(800, 432);
  ExportAs(QStringLiteral("board.jpg"), 0);
  const QByteArray bytes = ReadBytes(Path("board.jpg"));
  const DecodedJpeg decoded = DecodeJpeg(bytes);
  ASSERT_TRUE(decoded.ok);
  EXPECT_FALSE(decoded.progressive);
  const std::vector<int> markers = HeaderMarkers(bytes);
  EXPECT_NE(std::find(markers.begin(), markers.end(), 0xC0), markers.end());
  EXPECT_EQ(decoded.quant, LibjpegTables(90));
  EXPECT_LE(MaxBlockInteriorDifference(decoded.image, frm.BoardPicture()), 6);

  ExportAs(QStringLiteral("window.jpg"), 1);
  const DecodedJpeg window = DecodeJpeg(ReadBytes(Path("window.jpg")));
  ASSERT_TRUE(window.ok);
  EXPECT_LE(MaxBlockInteriorDifference(window.image, Blocks(800, 480)), 6);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ExportTest, ExtensionsCountInAnyLetterCaseAndJpegToo) {
  for (const char* name : {"a.JPG", "b.Jpeg", "c.jpeg", "d.JPEG"}) {
    ExportAs(QString::fromUtf8(name), 0);
    const DecodedJpeg decoded = DecodeJpeg(ReadBytes(Path(QString::fromUtf8(name))));
    ASSERT_TRUE(decoded.ok) << name;
    EXPECT_EQ(decoded.image.size(), QSize(800, 432)) << name;
  }
  ExportAs(QStringLiteral("e.BMP"), 0);
  EXPECT_EQ(ReadBmpFile(Path("e.BMP")), frm.BoardPicture());
  EXPECT_EQ(PictureFormatOf(QStringLiteral("/x.jpg/picture")), PictureFormat::None);
  EXPECT_EQ(PictureFormatOf(QStringLiteral("/x/.bmp")), PictureFormat::Bmp);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ExportTest, APngNameGivesAPngOfThePicture) {
  ExportAs(QStringLiteral("board.PNG"), 0);
  QImageReader png(Path("board.PNG"), "png");
  EXPECT_TRUE(SamePixels(png.read().convertToFormat(QImage::Format_RGB32), frm.BoardPicture()));
}

TEST_F(ExportTest, AnyOtherExtensionWritesNothingAndSaysSo) {
  for (const char* name : {"board.gif", "no extension", "board.jpg.txt", "board."}) {
    boxes.clear();
    ExportAs(QString::fromUtf8(name), 0);
    ASSERT_EQ(boxes.size(), 1u) << name;
    EXPECT_EQ(boxes[0].Icon, BoxIcon::None);
    EXPECT_FALSE(boxes[0].YesNo);
    EXPECT_TRUE(boxes[0].Text.contains(QString::fromUtf8(name))) << boxes[0].Text.toStdString();
    EXPECT_TRUE(frm.Timer().Enabled());
  }
  EXPECT_EQ(Entries(dir.path()), QStringList{});
}

TEST_F(ExportTest, TheExtensionMessageIsInTheUsersLanguage) {
  ExportAs(QStringLiteral("board.gif"), 0);
  ASSERT_TRUE(QFile::copy(QStringLiteral(ASSET_DIR "/Language.ini"), Path("Language.ini")));
  ExportAs(QStringLiteral("100%.gif"), 0);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Text,
            QStringLiteral("\"board.gif\"は書き出されませんでした。ファイル名の末尾は "
                           ".bmp、.jpg、.jpeg、.png のいずれかにしてください。"));
  EXPECT_EQ(boxes[1].Text, QStringLiteral("\"100%.gif\" was not written: the file name must end "
                                          "in .bmp, .jpg, .jpeg or .png."));
  EXPECT_EQ(Entries(dir.path()), QStringList{"Language.ini"});
}

TEST_F(ExportTest, CancellingEitherDialogWritesNothingAndTheTimerRunsAgain) {
  ChooseFile(QString());
  ChooseKind(0);
  Export();
  EXPECT_EQ(timerInDialogs, std::vector<bool>{false});
  EXPECT_TRUE(frm.Timer().Enabled());

  howTo.ExportKind = 1;
  timerInDialogs.clear();
  ChooseFile(Path("cancelled.bmp"));
  ChooseKind(0, true);
  Export();
  EXPECT_EQ(timerInDialogs, (std::vector<bool>{false, false}));
  EXPECT_EQ(howTo.ExportKind, 1);
  EXPECT_TRUE(frm.Timer().Enabled());
  EXPECT_EQ(Entries(dir.path()), QStringList{});
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ExportTest, AFailedWriteShowsTheErrorBoxAndTheTimerRunsAgain) {
  WriteBytes(Path("plain"), "a file, not a folder");
  for (const char* name : {"plain/out.bmp", "plain/out.jpg", "plain/out.png"}) {
    SCOPED_TRACE(name);
    boxes.clear();
    ExportAs(QString::fromUtf8(name), 1);
    ExpectOneErrorBox({Path(QString::fromUtf8(name)), SystemReason(ENOTDIR)});
    EXPECT_TRUE(frm.Timer().Enabled());
  }
  EXPECT_EQ(ReadBytes(Path("plain")), QByteArray("a file, not a folder"));
}

TEST_F(ExportTest, AnExportOverAnOldFileThatFailsLeavesItWhole) {
  ExportAs(QStringLiteral("kept.bmp"), 0);
  const QByteArray old = ReadBytes(Path("kept.bmp"));
  frm.BoardPicture() = PatternBoard(8);
  {
    const FileSizeLimit fullDisk(4096);
    ExportAs(QStringLiteral("kept.bmp"), 0);
  }
  ExpectOneErrorBox({SystemReason(EFBIG)});
  EXPECT_EQ(ReadBytes(Path("kept.bmp")), old);
  EXPECT_EQ(Entries(dir.path()), QStringList{"kept.bmp"});
  EXPECT_TRUE(frm.Timer().Enabled());
}

TEST_F(ExportTest, TheScreenshotIsTheWindowAsJpegNamedByThePinnedClock) {
  test.clock.now = QDateTime(QDate(2026, 12, 6), QTime(19, 26, 11, 123));
  TakeScreenShot(frm);
  EXPECT_EQ(Entries(dir.path()), QStringList{"2026_12_06_19_26_11_123.jpg"});
  const DecodedJpeg shot = DecodeJpeg(ReadBytes(Path("2026_12_06_19_26_11_123.jpg")));
  ASSERT_TRUE(shot.ok);
  EXPECT_EQ(shot.quant, LibjpegTables(90));
  EXPECT_LE(MaxBlockInteriorDifference(shot.image, Blocks(800, 480)), 6);
  EXPECT_TRUE(frm.Timer().Enabled());
  EXPECT_TRUE(boxes.empty());

  frm.Surface().BackBuffer().fill(Qt::white);
  frm.Surface().PresentFrame();
  TakeScreenShot(frm);  // the same millisecond: the second replaces the first
  const DecodedJpeg second = DecodeJpeg(ReadBytes(Path("2026_12_06_19_26_11_123.jpg")));
  ASSERT_TRUE(second.ok);
  EXPECT_EQ(second.image.pixel(400, 240), qRgb(255, 255, 255));
  EXPECT_EQ(Entries(dir.path()).size(), 1);
}

TEST_F(ExportTest, ScreenshotNamesPadEveryField) {
  EXPECT_EQ(ScreenShotName(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5, 6))),
            QStringLiteral("2027_01_02_03_04_05_006.jpg"));
  EXPECT_EQ(ScreenShotName(QDateTime(QDate(2026, 10, 31), QTime(23, 59, 59, 999))),
            QStringLiteral("2026_10_31_23_59_59_999.jpg"));
}

TEST_F(ExportTest, AScreenshotThatCannotBeWrittenShowsTheErrorBox) {
  WriteBytes(Path("plain"), "x");
  SetExeDir(Path("plain"));
  test.clock.now = QDateTime(QDate(2026, 12, 6), QTime(19, 26, 11, 123));
  TakeScreenShot(frm);
  ExpectOneErrorBox({QStringLiteral("2026_12_06_19_26_11_123.jpg"), SystemReason(ENOTDIR)});
  EXPECT_TRUE(frm.Timer().Enabled());
}

}  // namespace

}  // namespace slatewick
