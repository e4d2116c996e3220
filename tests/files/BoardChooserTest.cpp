#include <QDir>
#include <QFileInfo>

#include "files/BoardChooser.h"
#include "files/FilesFixture.h"
#include "platform/PictureFiles.h"
#include "support/BmpBuilder.h"

namespace slatewick {

namespace {

TEST_F(ChooserTest, OpeningCreatesTheBoardFolderAndShowsTheModeTexts) {
  ASSERT_FALSE(QFileInfo::exists(Path("users")));
  QStringList listed{"stale"};
  Open(true, [&] { listed = files.TitleList.Items; });
  EXPECT_TRUE(QFileInfo(Path("users")).isDir());
  EXPECT_TRUE(listed.isEmpty());
  EXPECT_EQ(files.Caption, QStringLiteral("黒板の読み込み"));
  EXPECT_EQ(files.Prompt.Caption, QStringLiteral("読み込むタイトルを選んでください"));
  EXPECT_EQ(files.ActiveControl, BoardChooser::ChooserControl::TitleList);
  EXPECT_EQ(files.Mode, BoardChooser::ChooserMode::Load);

  Open(false, [&] { files.TitleEdit.Text = "typed, then cancelled"; });
  EXPECT_EQ(files.Caption, QStringLiteral("黒板の書き出し"));
  EXPECT_EQ(files.Prompt.Caption, QStringLiteral("書き出すタイトルを入力してください"));
  EXPECT_EQ(files.ActiveControl, BoardChooser::ChooserControl::TitleEdit);
  EXPECT_EQ(files.Mode, BoardChooser::ChooserMode::Store);
  EXPECT_EQ(files.Result, DialogResult::Cancel);

  QString shownTitle = "stale";
  Open(false, [&] { shownTitle = files.TitleEdit.Text; });
  EXPECT_TRUE(shownTitle.isEmpty());
  EXPECT_EQ(files.OkButton.Caption, QStringLiteral("OK"));
  EXPECT_EQ(files.CancelButton.Caption, QStringLiteral("Cancel"));
}

TEST_F(ChooserTest, StoreListLoadRoundTripIsPixelForPixel) {
  const QImage stored = PatternBoard(7);
  frm.BoardPicture() = stored;
  EXPECT_EQ(Store(QStringLiteral("lesson 1")), DialogResult::OK);
  EXPECT_TRUE(boxes.empty());

  const QByteArray file = ReadBytes(UsersPath("lesson 1.bmp"));
  ASSERT_GE(file.size(), 54);
  EXPECT_EQ(file.left(2), QByteArray("BM"));
  EXPECT_EQ(quint8(file[28]), 24);  // bits per pixel

  frm.BoardPicture() = PatternBoard(99);
  QStringList listed;
  const DialogResult result = Open(true, [&] {
    listed = files.TitleList.Items;
    files.TitleList.ItemIndex = int(listed.indexOf(QStringLiteral("lesson 1")));
    files.SelectionChanged();
    files.DoubleClicked();
  });
  EXPECT_EQ(listed, QStringList{QStringLiteral("lesson 1")});
  EXPECT_EQ(files.TitleEdit.Text, QStringLiteral("lesson 1"));
  EXPECT_EQ(result, DialogResult::OK);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(frm.BoardPicture().format(), QImage::Format_RGB32);
  EXPECT_EQ(frm.BoardPicture(), stored);
}

// Bottom-up bitmaps with a palette, of 8 and of 1 bit a pixel.
TEST_F(ChooserTest, EightBitAndOneBitBitmapsOfTheBoardsSizeAreAccepted) {
  QDir().mkpath(Path("users"));
  const auto indexed = [](int bits, const std::vector<QRgb>& palette, auto index) {
    BmpShape s{40, 800, 432, bits};
    s.colours = quint32(palette.size());
    s.palette = palette;
    s.pixels = PackRows(800, 432, bits, [&](int x, int r) { return quint32(index(x, 431 - r)); });
    return MakeBmp(s);
  };
  std::vector<QRgb> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(qRgb(i, 255 - i, (i * 7) & 0xFF));
  const auto index8 = [](int x, int y) { return (x + 2 * y) & 0xFF; };
  WriteBytes(UsersPath("eight.bmp"), indexed(8, palette, index8));
  const std::vector<QRgb> two{qRgb(10, 20, 30), qRgb(240, 230, 220)};
  const auto index1 = [](int x, int y) { return (x / 3 + y) % 2; };
  WriteBytes(UsersPath("one.bmp"), indexed(1, two, index1));

  ASSERT_EQ(Load(QStringLiteral("eight")), DialogResult::OK);
  for (int y : {0, 1, 200, 431})
    for (int x : {0, 5, 399, 799})
      EXPECT_EQ(frm.BoardPicture().pixel(x, y), palette[std::size_t(index8(x, y))])
          << x << "," << y;

  ASSERT_EQ(Load(QStringLiteral("one")), DialogResult::OK);
  for (int y : {0, 1, 200, 431})
    for (int x : {0, 3, 400, 799})
      EXPECT_EQ(frm.BoardPicture().pixel(x, y), two[std::size_t(index1(x, y))]) << x << "," << y;
  EXPECT_EQ(frm.BoardPicture().format(), QImage::Format_RGB32);
  EXPECT_TRUE(boxes.empty());
}

// A load that fails shows one box and leaves the board as it was: the size message for a
// bitmap of another size (the window's, say, or the largest picture declared by a few bytes of
// runs, which is never unpacked), the error box with the file and the fault for a
// file that is no bitmap, the missing-title message with the title in its placeholder where no
// file (a folder, say) has the title.
TEST_F(ChooserTest, AFailedLoadShowsOneBoxAndChangesNothing) {
  QDir().mkpath(UsersPath("a folder.bmp"));
  QImage window(800, 480, QImage::Format_RGB32);
  window.fill(Qt::red);
  ASSERT_TRUE(window.save(UsersPath("whole window.bmp"), "BMP"));
  QImage picture(800, 432, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  ASSERT_TRUE(picture.save(UsersPath("really a png.bmp"), "PNG"));
  WriteBytes(UsersPath("garbage.bmp"), QByteArray("BM this is not a bitmap at all"));
  const QByteArray whole = EncodeBmp(PatternBoard(6));
  WriteBytes(UsersPath("half a board.bmp"), whole.left(whole.size() / 2));
  BmpShape bomb{40, 32768, 1024, 8, 1};
  bomb.palette = {qRgb(0, 0, 0)};
  bomb.pixels = RleStream{8}.End().bytes;
  WriteBytes(UsersPath("bomb.bmp"), MakeBmp(bomb));

  const QImage before = frm.BoardPicture();
  const struct {
    QString title;
    BoxIcon icon;
    QString text;  // the whole text; of an error box, the fault it names
  } cases[] = {
      {"whole window", BoxIcon::None, "ファイルの縦x横が一致していません。"},
      {"bomb", BoxIcon::None, "ファイルの縦x横が一致していません。"},
      {"really a png", BoxIcon::Stop, "not a BMP file"},
      {"garbage", BoxIcon::Stop, "header"},
      {"half a board", BoxIcon::Stop, "ends before its pixels do"},
      {"nowhere", BoxIcon::None, "\"nowhere.bmp\"は存在しません。"},
      {"a folder", BoxIcon::None, "\"a folder.bmp\"は存在しません。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title.toStdString());
    boxes.clear();
    EXPECT_EQ(Load(c.title), DialogResult::Cancel);
    if (c.icon == BoxIcon::Stop) {
      ExpectOneErrorBox({UsersPath(c.title + ".bmp"), c.text});
    } else {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].Text, c.text);
      EXPECT_EQ(boxes[0].Icon, c.icon);
    }
    EXPECT_EQ(boxes[0].Caption, ApplicationTitle());
    EXPECT_FALSE(boxes[0].YesNo);
    EXPECT_EQ(frm.BoardPicture(), before);
  }
}

// Storing over a board file asks first, also at once on a double click on its title in the
// store mode's list.
TEST_F(ChooserTest, OverwriteAnsweredNoKeepsTheOldBytesAndYesReplacesThem) {
  frm.BoardPicture() = PatternBoard(1);
  ASSERT_EQ(Store(QStringLiteral("abc")), DialogResult::OK);
  const QByteArray old = ReadBytes(UsersPath("abc.bmp"));

  frm.BoardPicture() = PatternBoard(2);
  EXPECT_EQ(Store(QStringLiteral("abc")), DialogResult::Cancel);
  Open(false, [&] {
    files.TitleList.ItemIndex = 0;
    files.SelectionChanged();
    files.DoubleClicked();
  });
  ASSERT_EQ(boxes.size(), 2u);
  for (const MessageBoxRequest& box : boxes) {
    EXPECT_EQ(box.Text, QStringLiteral("\"abc.bmp\"はすでに存在します。上書き保存しますか？"));
    EXPECT_EQ(box.Icon, BoxIcon::Question);
    EXPECT_TRUE(box.YesNo);
  }
  EXPECT_EQ(ReadBytes(UsersPath("abc.bmp")), old);

  answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };
  EXPECT_EQ(Store(QStringLiteral("abc")), DialogResult::OK);
  EXPECT_EQ(ReadBmpFile(UsersPath("abc.bmp")), PatternBoard(2));
  EXPECT_EQ(Entries(Path("users")), QStringList{"abc.bmp"});
}

TEST_F(ChooserTest, AFailedStoreLeavesTheOldFileWholeAndTheDialogOpen) {
  frm.BoardPicture() = PatternBoard(3);
  ASSERT_EQ(Store(QStringLiteral("kept")), DialogResult::OK);
  const QByteArray old = ReadBytes(UsersPath("kept.bmp"));
  answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };

  frm.BoardPicture() = PatternBoard(4);
  DialogResult result;
  {
    const FileSizeLimit fullDisk(4096);
    result = Store(QStringLiteral("kept"));
  }
  EXPECT_EQ(result, DialogResult::Cancel);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[0].YesNo);
  EXPECT_EQ(boxes[1].Icon, BoxIcon::Stop);
  EXPECT_TRUE(boxes[1].Text.contains(UsersPath("kept.bmp")));
  EXPECT_TRUE(boxes[1].Text.contains(SystemReason(EFBIG))) << boxes[1].Text.toStdString();
  EXPECT_EQ(ReadBytes(UsersPath("kept.bmp")), old);
  EXPECT_EQ(Entries(Path("users")), QStringList{"kept.bmp"});  // no temporary file left
  EXPECT_EQ(frm.BoardPicture(), PatternBoard(4));
}

// Files added outside the program show at the next opening.
TEST_F(ChooserTest, TheListingSkipsFoldersAndOtherExtensionsAndIsInNameOrder) {
  Open(true, {});
  for (const char* name :
       {"b.bmp", "Zed.bmp", "A.bmp", ".bmp", ".hidden.bmp", "c.BMP", "d.png", "e.bmp.txt", "notes"})
    WriteBytes(UsersPath(QString::fromUtf8(name)), "x");
  QDir().mkpath(UsersPath("folder.bmp"));

  QStringList listed;
  Open(true, [&] { listed = files.TitleList.Items; });
  EXPECT_EQ(listed, (QStringList{"", ".hidden", "A", "b", "c", "Zed"}));
  EXPECT_EQ(files.TitleList.ItemIndex, -1);
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
  Open(true, [&] { listed = files.TitleList.Items; });
  EXPECT_EQ(listed, (QStringList{"AB", "ab", "LESSON"}));

  for (const auto& [title, seed] : std::vector<std::pair<QString, int>>{
           {"LESSON", 1}, {"lesson", 1}, {"ab", 2}, {"AB", 3}, {"Ab", 3}}) {
    frm.BoardPicture() = PatternBoard(0);
    EXPECT_EQ(Load(title), DialogResult::OK) << title.toStdString();
    EXPECT_EQ(frm.BoardPicture(), PatternBoard(seed)) << title.toStdString();
  }
  EXPECT_TRUE(boxes.empty());

  answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };
  frm.BoardPicture() = PatternBoard(4);
  EXPECT_EQ(Store(QStringLiteral("Lesson")), DialogResult::OK);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].YesNo);
  EXPECT_EQ(ReadBmpFile(UsersPath("LESSON.BMP")), PatternBoard(4));
  EXPECT_EQ(Entries(Path("users")),
            (QStringList{"AB.Bmp", "ab.bmp", "LESSON.BMP", "LESSON.story"}));
}

// A title names a file in the board folder (or below it) or none: NUL, absolute paths, and ".."
// and links that lead out of the folder are refused with the error box, before any question,
// and nothing is read or written outside.
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
  WriteBytes(UsersPath("plain file"), "not a folder");
  ASSERT_TRUE(QFile::link(dir.path(), UsersPath("away")));

  const QString titles[] = {"../Chalk",
                            "..\\Chalk",
                            "plain file/../../Chalk",
                            "missing folder/../../Chalk",
                            QStringLiteral("real") + QChar(0),
                            Path("Chalk"),
                            "\\tmp\\Chalk",
                            "out",
                            "new",
                            "away/Chalk",
                            "away/Outside"};
  for (const QString& title : titles) {
    for (bool load : {true, false}) {
      SCOPED_TRACE(title.toStdString() + (load ? ", load" : ", store"));
      boxes.clear();
      frm.BoardPicture() = PatternBoard(7);
      EXPECT_EQ(load ? Load(title) : Store(title), DialogResult::Cancel);
      ExpectOneErrorBox({});
      EXPECT_EQ(frm.BoardPicture(), PatternBoard(7));
    }
  }
  EXPECT_EQ(ReadBytes(Path("Chalk.bmp")), chalkBytes);
  EXPECT_EQ(ReadBmpFile(Path("Outside.bmp")), PatternBoard(5));
  EXPECT_FALSE(QFileInfo::exists(Path("Nothing yet.bmp")));
  EXPECT_EQ(Entries(dir.path()), (QStringList{"Chalk.bmp", "Outside.bmp", "users"}));
  EXPECT_EQ(Entries(Path("users")),
            (QStringList{"alias.bmp", "away", "new.bmp", "out.bmp", "plain file", "real.bmp"}));
  EXPECT_EQ(ReadBytes(UsersPath("plain file")), QByteArray("not a folder"));

  // A link that stays in the folder is a board file like any other.
  boxes.clear();
  EXPECT_EQ(Load(QStringLiteral("alias")), DialogResult::OK);
  EXPECT_EQ(frm.BoardPicture(), PatternBoard(6));
  frm.BoardPicture() = PatternBoard(8);
  EXPECT_EQ(Store(QStringLiteral("alias")), DialogResult::OK);
  EXPECT_EQ(ReadBmpFile(UsersPath("real.bmp")), PatternBoard(8));
  EXPECT_TRUE(QFileInfo(UsersPath("alias.bmp")).isSymLink());
}

// A title may name a board in a subfolder of the board folder ("\" reads as "/"); where that
// subfolder is missing, loading says the board does not exist and storing fails with the error
// box, as for any file that cannot be written.
TEST_F(ChooserTest, TitlesWithSubfoldersNameBoardsBelowTheBoardFolder) {
  answer = [](const MessageBoxRequest&) { return BoxAnswer::Yes; };
  QDir().mkpath(UsersPath("2024"));
  WriteBytes(UsersPath("plain file"), "not a folder");
  frm.BoardPicture() = PatternBoard(1);
  EXPECT_EQ(Store(QStringLiteral("2024/lesson")), DialogResult::OK);
  EXPECT_EQ(ReadBmpFile(UsersPath("2024/lesson.bmp")), PatternBoard(1));
  frm.BoardPicture() = PatternBoard(2);
  EXPECT_EQ(Store(QStringLiteral("2024/../kept")), DialogResult::OK);
  EXPECT_EQ(ReadBmpFile(UsersPath("kept.bmp")), PatternBoard(2));
  for (const char* title : {"2024/lesson", "2024\\Lesson", "2024//lesson"}) {
    frm.BoardPicture() = PatternBoard(0);
    EXPECT_EQ(Load(QString::fromUtf8(title)), DialogResult::OK) << title;
    EXPECT_EQ(frm.BoardPicture(), PatternBoard(1)) << title;
  }
  EXPECT_TRUE(boxes.empty());

  const struct {
    QString title;
    int error;  // of storing
  } missing[] = {{"no such year/lesson", ENOENT}, {"plain file/lesson", ENOTDIR}};
  for (const auto& c : missing) {
    SCOPED_TRACE(c.title.toStdString());
    boxes.clear();
    EXPECT_EQ(Load(c.title), DialogResult::Cancel);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Icon, BoxIcon::None);
    EXPECT_EQ(boxes[0].Text, "\"" + c.title + ".bmp\"は存在しません。");
    boxes.clear();
    EXPECT_EQ(Store(c.title), DialogResult::Cancel);
    ExpectOneErrorBox({UsersPath(c.title + ".story"), SystemReason(c.error)});
  }
  EXPECT_EQ(Entries(Path("users")), (QStringList{"2024", "kept.bmp", "plain file"}));
  EXPECT_EQ(Entries(UsersPath("2024")), QStringList{"lesson.bmp"});
  QStringList listed;
  Open(true, [&] { listed = files.TitleList.Items; });
  EXPECT_EQ(listed, QStringList{"kept"});
}

TEST_F(ChooserTest, HostileMessageTextsAreShownLiterallyWithTheTitleInPlace) {
  QFile ini(Path("Language.ini"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(
      "[SelectFileDialog]\r\nFileNotExist=%s%n%x\r\nFileExist=%n%n%n%p %%\r\n"
      "FileSizeError=%\r\n[General]\r\nOK=Go\r\nCancel=Stop\r\n");
  ini.close();
  files.ApplyTexts();
  EXPECT_EQ(files.OkButton.Caption, QStringLiteral("Go"));
  EXPECT_EQ(files.CancelButton.Caption, QStringLiteral("Stop"));

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

}  // namespace slatewick
