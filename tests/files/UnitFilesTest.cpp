#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTextStream>

#include "files/FilesFixture.h"
#include "files/PictureFiles.h"
#include "files/Unit_Files.h"

namespace {

void PutLE(QByteArray& bytes, quint32 value, int size) {
  for (int i = 0; i < size; ++i) bytes.append(char((value >> (8 * i)) & 0xFF));
}

// A bottom-up Windows bitmap with a palette, written byte by byte: 1 or 8 bits per pixel.
QByteArray IndexedBmp(int width, int height, int bits, const std::vector<QRgb>& palette,
                      const std::function<int(int, int)>& index) {
  const int rowBytes = (width * bits + 31) / 32 * 4;
  const int offset = 14 + 40 + 4 * int(palette.size());
  QByteArray bmp("BM");
  PutLE(bmp, quint32(offset + rowBytes * height), 4);
  PutLE(bmp, 0, 4);
  PutLE(bmp, quint32(offset), 4);
  PutLE(bmp, 40, 4);
  PutLE(bmp, quint32(width), 4);
  PutLE(bmp, quint32(height), 4);
  PutLE(bmp, 1, 2);
  PutLE(bmp, quint32(bits), 2);
  PutLE(bmp, 0, 4);
  PutLE(bmp, quint32(rowBytes * height), 4);
  PutLE(bmp, 2835, 4);
  PutLE(bmp, 2835, 4);
  PutLE(bmp, quint32(palette.size()), 4);
  PutLE(bmp, 0, 4);
  for (QRgb c : palette) PutLE(bmp, quint32(qBlue(c) | qGreen(c) << 8 | qRed(c) << 16), 4);
  for (int y = height - 1; y >= 0; --y) {
    QByteArray row(rowBytes, '\0');
    for (int x = 0; x < width; ++x) {
      if (bits == 8)
        row[x] = char(index(x, y));
      else if (index(x, y))
        row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
    }
    bmp += row;
  }
  return bmp;
}

class ChooserTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    files.FormCreate();
  }
  // Opens the chooser through the menu command; `user` acts while it is shown.
  TModalResult Open(bool load, std::function<void()> user) {
    files.RunModal = std::move(user);
    load ? mnuLoadClick(frm, files) : mnuSaveClick(frm, files);
    return files.ModalResult;
  }
  TModalResult Store(const QString& title) {
    return Open(false, [&] {
      files.edtFileName.Text = title;
      files.btnOKClick();
    });
  }
  TModalResult Load(const QString& title) {
    return Open(true, [&] {
      files.edtFileName.Text = title;
      files.btnOKClick();
    });
  }

  TfrmFiles files{frm};
};

TEST_F(ChooserTest, OpeningCreatesTheBoardFolderAndShowsTheModeTexts) {
  ASSERT_FALSE(QFileInfo::exists(Path("users")));
  QStringList listed{"stale"};
  Open(true, [&] { listed = files.lstFiles.Items; });
  EXPECT_TRUE(QFileInfo(Path("users")).isDir());
  EXPECT_TRUE(listed.isEmpty());
  EXPECT_EQ(files.Caption, QStringLiteral("黒板の読み込み"));
  EXPECT_EQ(files.lbl.Caption, QStringLiteral("読み込むタイトルを選んでください"));
  EXPECT_EQ(files.ActiveControl, TfrmFiles::TFocus::lstFiles);
  EXPECT_EQ(frm.st.FileDialogMode, 1);

  Open(false, [&] { files.edtFileName.Text = "typed, then cancelled"; });
  EXPECT_EQ(files.Caption, QStringLiteral("黒板の書き出し"));
  EXPECT_EQ(files.lbl.Caption, QStringLiteral("書き出すタイトルを入力してください"));
  EXPECT_EQ(files.ActiveControl, TfrmFiles::TFocus::edtFileName);
  EXPECT_EQ(frm.st.FileDialogMode, 2);
  EXPECT_EQ(files.ModalResult, TModalResult::Cancel);

  QString shownTitle = "stale";
  Open(false, [&] { shownTitle = files.edtFileName.Text; });
  EXPECT_TRUE(shownTitle.isEmpty());
  EXPECT_EQ(files.btnOK.Caption, QStringLiteral("OK"));
  EXPECT_EQ(files.btnCancel.Caption, QStringLiteral("Cancel"));
}

TEST_F(ChooserTest, StoreListLoadRoundTripIsPixelForPixel) {
  const QImage stored = PatternBoard(7);
  frm.st.BoardBitmap = stored;
  EXPECT_EQ(Store(QStringLiteral("lesson 1")), TModalResult::OK);
  EXPECT_TRUE(boxes.empty());

  const QByteArray file = ReadBytes(UsersPath("lesson 1.bmp"));
  ASSERT_GE(file.size(), 54);
  EXPECT_EQ(file.left(2), QByteArray("BM"));
  EXPECT_EQ(quint8(file[28]), 24);  // bits per pixel

  frm.st.BoardBitmap = PatternBoard(99);
  QStringList listed;
  const TModalResult result = Open(true, [&] {
    listed = files.lstFiles.Items;
    files.lstFiles.ItemIndex = int(listed.indexOf(QStringLiteral("lesson 1")));
    files.lstFilesClick();
    files.lstFilesDblClick();
  });
  EXPECT_EQ(listed, QStringList{QStringLiteral("lesson 1")});
  EXPECT_EQ(files.edtFileName.Text, QStringLiteral("lesson 1"));
  EXPECT_EQ(result, TModalResult::OK);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(frm.st.BoardBitmap.format(), QImage::Format_RGB32);
  EXPECT_EQ(frm.st.BoardBitmap, stored);
}

TEST_F(ChooserTest, ABitmapOfTheWindowsSizeIsRefusedWithTheSizeMessage) {
  QDir().mkpath(Path("users"));
  QImage window(800, 480, QImage::Format_RGB32);
  window.fill(Qt::red);
  ASSERT_TRUE(window.save(UsersPath("whole window.bmp"), "BMP"));

  const QImage before = frm.st.BoardBitmap;
  EXPECT_EQ(Load(QStringLiteral("whole window")), TModalResult::Cancel);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, QStringLiteral("ファイルの縦x横が一致していません。"));
  EXPECT_EQ(boxes[0].Icon, BoxIcon::None);
  EXPECT_FALSE(boxes[0].YesNo);
  EXPECT_EQ(frm.st.BoardBitmap, before);
}

TEST_F(ChooserTest, EightBitAndOneBitBitmapsOfTheBoardsSizeAreAccepted) {
  QDir().mkpath(Path("users"));
  std::vector<QRgb> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(qRgb(i, 255 - i, (i * 7) & 0xFF));
  const auto index8 = [](int x, int y) { return (x + 2 * y) & 0xFF; };
  WriteBytes(UsersPath("eight.bmp"), IndexedBmp(800, 432, 8, palette, index8));
  const std::vector<QRgb> two{qRgb(10, 20, 30), qRgb(240, 230, 220)};
  const auto index1 = [](int x, int y) { return (x / 3 + y) % 2; };
  WriteBytes(UsersPath("one.bmp"), IndexedBmp(800, 432, 1, two, index1));

  ASSERT_EQ(Load(QStringLiteral("eight")), TModalResult::OK);
  for (int y : {0, 1, 200, 431})
    for (int x : {0, 5, 399, 799})
      EXPECT_EQ(frm.st.BoardBitmap.pixel(x, y), palette[std::size_t(index8(x, y))])
          << x << "," << y;

  ASSERT_EQ(Load(QStringLiteral("one")), TModalResult::OK);
  for (int y : {0, 1, 200, 431})
    for (int x : {0, 3, 400, 799})
      EXPECT_EQ(frm.st.BoardBitmap.pixel(x, y), two[std::size_t(index1(x, y))]) << x << "," << y;
  EXPECT_EQ(frm.st.BoardBitmap.format(), QImage::Format_RGB32);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ChooserTest, AFileThatIsNoBitmapGivesTheErrorBoxAndChangesNothing) {
  QDir().mkpath(Path("users"));
  QImage picture(800, 432, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  ASSERT_TRUE(picture.save(UsersPath("really a png.bmp"), "PNG"));
  WriteBytes(UsersPath("garbage.bmp"), QByteArray("BM this is not a bitmap at all"));
  const QByteArray whole = EncodeBmp(PatternBoard(6));
  WriteBytes(UsersPath("half a board.bmp"), whole.left(whole.size() / 2));

  const QImage before = frm.st.BoardBitmap;
  const std::pair<const char*, const char*> cases[] = {
      {"really a png", "not a BMP file"},
      {"garbage", "header"},
      {"half a board", "ends before its pixels do"}};
  for (const auto& [title, why] : cases) {
    boxes.clear();
    EXPECT_EQ(Load(QString::fromUtf8(title)), TModalResult::Cancel);
    ASSERT_EQ(boxes.size(), 1u) << title;
    EXPECT_EQ(boxes[0].Icon, BoxIcon::Stop);
    EXPECT_TRUE(boxes[0].Text.contains(UsersPath(QString::fromUtf8(title) + ".bmp")));
    EXPECT_TRUE(boxes[0].Text.contains(QString::fromUtf8(why))) << boxes[0].Text.toStdString();
    EXPECT_EQ(frm.st.BoardBitmap, before);
  }
}

TEST_F(ChooserTest, AMissingTitleIsReportedWithTheTitleInItsPlaceholder) {
  const QImage before = frm.st.BoardBitmap;
  EXPECT_EQ(Load(QStringLiteral("nowhere")), TModalResult::Cancel);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, QStringLiteral("\"nowhere.bmp\"は存在しません。"));
  EXPECT_EQ(boxes[0].Caption, ApplicationTitle());
  EXPECT_EQ(boxes[0].Icon, BoxIcon::None);
  EXPECT_EQ(frm.st.BoardBitmap, before);

  QDir().mkpath(UsersPath("a folder.bmp"));
  boxes.clear();
  EXPECT_EQ(Load(QStringLiteral("a folder")), TModalResult::Cancel);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, QStringLiteral("\"a folder.bmp\"は存在しません。"));
}

TEST_F(ChooserTest, OverwriteAnsweredNoKeepsTheOldBytesAndYesReplacesThem) {
  frm.st.BoardBitmap = PatternBoard(1);
  ASSERT_EQ(Store(QStringLiteral("abc")), TModalResult::OK);
  const QByteArray old = ReadBytes(UsersPath("abc.bmp"));

  frm.st.BoardBitmap = PatternBoard(2);
  EXPECT_EQ(Store(QStringLiteral("abc")), TModalResult::Cancel);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, QStringLiteral("\"abc.bmp\"はすでに存在します。上書き保存しますか？"));
  EXPECT_EQ(boxes[0].Icon, BoxIcon::Question);
  EXPECT_TRUE(boxes[0].YesNo);
  EXPECT_EQ(ReadBytes(UsersPath("abc.bmp")), old);

  answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };
  EXPECT_EQ(Store(QStringLiteral("abc")), TModalResult::OK);
  EXPECT_EQ(ReadBmpFile(UsersPath("abc.bmp")), PatternBoard(2));
  EXPECT_EQ(Entries(Path("users")), QStringList{"abc.bmp"});
}

TEST_F(ChooserTest, AFailedStoreLeavesTheOldFileWholeAndTheDialogOpen) {
  frm.st.BoardBitmap = PatternBoard(3);
  ASSERT_EQ(Store(QStringLiteral("kept")), TModalResult::OK);
  const QByteArray old = ReadBytes(UsersPath("kept.bmp"));
  answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };

  frm.st.BoardBitmap = PatternBoard(4);
  TModalResult result;
  {
    const FileSizeLimit fullDisk(4096);
    result = Store(QStringLiteral("kept"));
  }
  EXPECT_EQ(result, TModalResult::Cancel);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[0].YesNo);
  EXPECT_EQ(boxes[1].Icon, BoxIcon::Stop);
  EXPECT_TRUE(boxes[1].Text.contains(UsersPath("kept.bmp")));
  EXPECT_TRUE(boxes[1].Text.contains(SystemReason(EFBIG))) << boxes[1].Text.toStdString();
  EXPECT_EQ(ReadBytes(UsersPath("kept.bmp")), old);
  EXPECT_EQ(Entries(Path("users")), QStringList{"kept.bmp"});  // no temporary file left
  EXPECT_EQ(frm.st.BoardBitmap, PatternBoard(4));
}

TEST_F(ChooserTest, TitlesNamingNoFolderGiveTheErrorBoxAndWriteNothing) {
  Open(false, {});
  WriteBytes(UsersPath("plain file"), "not a folder");
  for (const char* title : {"missing folder/board", "plain file/board"}) {
    boxes.clear();
    EXPECT_EQ(Store(QString::fromUtf8(title)), TModalResult::Cancel) << title;
    ASSERT_EQ(boxes.size(), 1u) << title;
    EXPECT_EQ(boxes[0].Icon, BoxIcon::Stop);
  }
  EXPECT_EQ(Entries(Path("users")), QStringList{"plain file"});
  EXPECT_EQ(ReadBytes(UsersPath("plain file")), QByteArray("not a folder"));
}

TEST_F(ChooserTest, TheListingSkipsFoldersAndOtherExtensionsAndIsInNameOrder) {
  QDir().mkpath(Path("users"));
  for (const char* name :
       {"b.bmp", "Zed.bmp", "A.bmp", ".bmp", ".hidden.bmp", "c.BMP", "d.png", "e.bmp.txt", "notes"})
    WriteBytes(UsersPath(QString::fromUtf8(name)), "x");
  QDir().mkpath(UsersPath("folder.bmp"));

  QStringList listed;
  Open(true, [&] { listed = files.lstFiles.Items; });
  EXPECT_EQ(listed, (QStringList{"", ".hidden", "A", "b", "c", "Zed"}));
  EXPECT_EQ(files.lstFiles.ItemIndex, -1);
  EXPECT_EQ(ListBoardTitles(Path("no such folder")), QStringList{});
}

// Board files are found as Windows' file system finds them: the exact name first, else a name
// that differs only in letter case. Storing under such a title replaces that file.
TEST_F(ChooserTest, TitlesMatchBoardFilesInAnyLetterCase) {
  QDir().mkpath(Path("users"));
  ASSERT_TRUE(PatternBoard(1).save(UsersPath("LESSON.BMP"), "BMP"));
  ASSERT_TRUE(PatternBoard(2).save(UsersPath("ab.bmp"), "BMP"));
  ASSERT_TRUE(PatternBoard(3).save(UsersPath("AB.Bmp"), "BMP"));
  QStringList listed;
  Open(true, [&] { listed = files.lstFiles.Items; });
  EXPECT_EQ(listed, (QStringList{"AB", "ab", "LESSON"}));

  for (const auto& [title, seed] : std::vector<std::pair<QString, int>>{
           {"LESSON", 1}, {"lesson", 1}, {"ab", 2}, {"AB", 3}, {"Ab", 3}}) {
    frm.st.BoardBitmap = PatternBoard(0);
    EXPECT_EQ(Load(title), TModalResult::OK) << title.toStdString();
    EXPECT_EQ(frm.st.BoardBitmap, PatternBoard(seed)) << title.toStdString();
  }
  EXPECT_TRUE(boxes.empty());

  answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };
  frm.st.BoardBitmap = PatternBoard(4);
  EXPECT_EQ(Store(QStringLiteral("Lesson")), TModalResult::OK);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].YesNo);
  EXPECT_EQ(ReadBmpFile(UsersPath("LESSON.BMP")), PatternBoard(4));
  EXPECT_EQ(Entries(Path("users")), (QStringList{"AB.Bmp", "ab.bmp", "LESSON.BMP"}));
}

// A title names a file in the board folder or none: separators, NUL and links that lead out
// of the folder are refused with the error box, before any question, and nothing is read or
// written outside.
TEST_F(ChooserTest, TitlesThatLeaveTheBoardFolderAreRefused) {
  answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };
  QImage chalk(52, 11, QImage::Format_RGB32);
  chalk.fill(Qt::white);
  ASSERT_TRUE(chalk.save(Path("Chalk.bmp"), "BMP"));
  ASSERT_TRUE(PatternBoard(5).save(Path("Outside.bmp"), "BMP"));
  const QByteArray chalkBytes = ReadBytes(Path("Chalk.bmp"));
  Open(false, {});
  ASSERT_TRUE(QFile::link(Path("Outside.bmp"), UsersPath("out.bmp")));
  ASSERT_TRUE(QFile::link(Path("Nothing yet.bmp"), UsersPath("new.bmp")));
  ASSERT_TRUE(PatternBoard(6).save(UsersPath("real.bmp"), "BMP"));
  ASSERT_TRUE(QFile::link(UsersPath("real.bmp"), UsersPath("alias.bmp")));

  const QString titles[] = {"../Chalk",    "..\\Chalk", "a/b", QStringLiteral("real") + QChar(0),
                            Path("Chalk"), "out",       "new"};
  for (const QString& title : titles) {
    for (bool load : {true, false}) {
      boxes.clear();
      frm.st.BoardBitmap = PatternBoard(7);
      EXPECT_EQ(load ? Load(title) : Store(title), TModalResult::Cancel) << title.toStdString();
      ASSERT_EQ(boxes.size(), 1u) << title.toStdString();
      EXPECT_EQ(boxes[0].Icon, BoxIcon::Stop) << title.toStdString();
      EXPECT_EQ(frm.st.BoardBitmap, PatternBoard(7)) << title.toStdString();
    }
  }
  EXPECT_EQ(ReadBytes(Path("Chalk.bmp")), chalkBytes);
  EXPECT_EQ(ReadBmpFile(Path("Outside.bmp")), PatternBoard(5));
  EXPECT_FALSE(QFileInfo::exists(Path("Nothing yet.bmp")));
  EXPECT_EQ(Entries(dir.path()), (QStringList{"Chalk.bmp", "Outside.bmp", "users"}));

  // A link that stays in the folder is a board file like any other.
  boxes.clear();
  EXPECT_EQ(Load(QStringLiteral("alias")), TModalResult::OK);
  EXPECT_EQ(frm.st.BoardBitmap, PatternBoard(6));
  frm.st.BoardBitmap = PatternBoard(8);
  EXPECT_EQ(Store(QStringLiteral("alias")), TModalResult::OK);
  EXPECT_EQ(ReadBmpFile(UsersPath("real.bmp")), PatternBoard(8));
  EXPECT_TRUE(QFileInfo(UsersPath("alias.bmp")).isSymLink());
}

TEST_F(ChooserTest, FilesAddedOutsideTheProgramShowAtTheNextOpening) {
  Open(true, {});
  WriteBytes(UsersPath("later.bmp"), "x");
  QStringList listed;
  Open(true, [&] { listed = files.lstFiles.Items; });
  EXPECT_EQ(listed, QStringList{"later"});
}

TEST_F(ChooserTest, DoubleClickInStoreModeAsksTheOverwriteQuestionAtOnce) {
  ASSERT_EQ(Store(QStringLiteral("pick me")), TModalResult::OK);
  const QByteArray old = ReadBytes(UsersPath("pick me.bmp"));
  frm.st.BoardBitmap = PatternBoard(5);
  Open(false, [&] {
    files.lstFiles.ItemIndex = 0;
    files.lstFilesClick();
    files.lstFilesDblClick();
  });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text,
            QStringLiteral("\"pick me.bmp\"はすでに存在します。上書き保存しますか？"));
  EXPECT_EQ(ReadBytes(UsersPath("pick me.bmp")), old);
}

TEST_F(ChooserTest, HostileMessageTextsAreShownLiterallyWithTheTitleInPlace) {
  QFile ini(Path("Language.ini"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(
      "[SelectFileDialog]\r\nFileNotExist=%s%n%x\r\nFileExist=%n%n%n%p %%\r\n"
      "FileSizeError=%\r\n[General]\r\nOK=Go\r\nCancel=Stop\r\n");
  ini.close();
  files.FormCreate();
  EXPECT_EQ(files.btnOK.Caption, QStringLiteral("Go"));
  EXPECT_EQ(files.btnCancel.Caption, QStringLiteral("Stop"));

  Load(QStringLiteral("%s"));
  Store(QStringLiteral("pad"));
  Store(QStringLiteral("pad"));
  QDir().mkpath(Path("users"));
  QImage small(10, 10, QImage::Format_RGB32);
  small.fill(Qt::white);
  ASSERT_TRUE(small.save(UsersPath("small.bmp"), "BMP"));
  Load(QStringLiteral("small"));

  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Text, QStringLiteral("%s%n%x"));
  EXPECT_EQ(boxes[1].Text, QStringLiteral("pad%n%n%p %"));
  EXPECT_EQ(boxes[2].Text, QStringLiteral("%"));
}

}  // namespace
