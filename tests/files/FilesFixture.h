#pragma once
// A board without a window in a program folder of its own (no language file, so every text is
// its built-in one), with message boxes answered by the test and recorded.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <vector>

#include "FileSizeLimit.h"
#include "board/Unit_Main.h"
#include "files/Unit_Files.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"

// A board of many colours, so that any shifted, flipped or lost pixel shows.
inline QImage PatternBoard(int seed) {
  QImage board(800, 432, QImage::Format_RGB32);
  for (int y = 0; y < board.height(); ++y)
    for (int x = 0; x < board.width(); ++x)
      board.setPixel(x, y, qRgb((x + seed) & 0xFF, (y * 3 + seed) & 0xFF, (x ^ y) & 0xFF));
  return board;
}

// Flat 32 x 32 blocks of strong colours: JPEG keeps such blocks nearly exact.
inline QImage Blocks(int width, int height) {
  static const QRgb colours[] = {qRgb(255, 0, 0),     qRgb(0, 255, 0),    qRgb(0, 0, 255),
                                 qRgb(0, 80, 0),      qRgb(255, 252, 30), qRgb(233, 135, 193),
                                 qRgb(255, 255, 255), qRgb(0, 0, 0)};
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, colours[(x / 32 + 3 * (y / 32)) % 8]);
  return picture;
}

inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

// The system's words for an error number, as an error box shows them.
inline QString SystemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetExeDir(dir.path());
    SetMessageBoxHandler([this](const MessageBoxRequest& request) {
      boxes.push_back(request);
      return answer(request);
    });
    frm.st.BoardBitmap = PatternBoard(0);
  }
  void TearDown() override {
    SetMessageBoxHandler({});
    SetExeDir(QString());
  }

  QString Path(const QString& name) const { return dir.filePath(name); }
  QString UsersPath(const QString& name) const {
    return dir.filePath(QStringLiteral("users/") + name);
  }
  // Entries of a folder, hidden ones included, without "." and "..".
  QStringList Entries(const QString& folder) const {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
  }
  // The one box shown was an error box (the stop icon) whose text holds every one of parts.
  void ExpectOneErrorBox(const QStringList& parts) const {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Icon, BoxIcon::Stop);
    for (const QString& part : parts)
      EXPECT_TRUE(boxes[0].Text.contains(part)) << boxes[0].Text.toStdString();
  }

  QTemporaryDir dir;
  TfrmMain frm;  // no window: client 800 x 480
  std::vector<MessageBoxRequest> boxes;
  std::function<BoxAnswer(const MessageBoxRequest&)> answer = [](const MessageBoxRequest& r) {
    return r.YesNo ? BoxAnswer::No : BoxAnswer::Ok;
  };
};

// The board-file chooser of the board, opened through the popup menu's commands.
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
  // Opens it to load or store, types title and presses OK.
  TModalResult Load(const QString& title) { return OpenWithTitle(true, title); }
  TModalResult Store(const QString& title) { return OpenWithTitle(false, title); }

  TfrmFiles files{frm};

 private:
  TModalResult OpenWithTitle(bool load, const QString& title) {
    return Open(load, [&] {
      files.edtFileName.Text = title;
      files.btnOKClick();
    });
  }
};
