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

#include "board/Board.h"
#include "files/BoardChooser.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "support/FileBytes.h"
#include "support/FileSizeLimit.h"
#include "support/Pictures.h"
#include "support/ProcessSeams.h"
#include "support/TestEnvironment.h"

namespace slatewick {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    frm.BoardPicture() = PatternBoard(0);
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
  // The program's data files beside it, and its folder the current one, so that it starts.
  void CopyProgramFiles() {
    for (const QString& name : QDir(QStringLiteral(ASSET_DIR)).entryList(QDir::Files))
      QFile::copy(QStringLiteral(ASSET_DIR "/") + name, Path(name));
    seams.SetCurrentFolder(dir.path());
  }
  // The one box shown was an error box (the stop icon) whose text holds every one of parts.
  void ExpectOneErrorBox(const QStringList& parts) const {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Icon, BoxIcon::Stop);
    for (const QString& part : parts)
      EXPECT_TRUE(boxes[0].Text.contains(part)) << boxes[0].Text.toStdString();
  }

  QTemporaryDir dir;
  ProcessSeams seams{dir.path()};
  TestEnvironment test;
  Board frm{test.env};  // no window: client 800 x 480
  std::vector<MessageBoxRequest>& boxes = seams.boxes;
  std::function<BoxAnswer(const MessageBoxRequest&)>& answer = seams.answer;
};

// The board-file chooser of the board, opened through the popup menu's commands.
class ChooserTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    files.ApplyTexts();
  }
  // Opens the chooser through the menu command; `user` acts while it is shown.
  DialogResult Open(bool load, std::function<void()> user) {
    files.RunModal = std::move(user);
    load ? ShowLoadChooser(files) : ShowStoreChooser(files);
    return files.Result;
  }
  // Opens it to load or store, types title and presses OK.
  DialogResult Load(const QString& title) { return OpenWithTitle(true, title); }
  DialogResult Store(const QString& title) { return OpenWithTitle(false, title); }

  BoardChooser files{frm};

 private:
  DialogResult OpenWithTitle(bool load, const QString& title) {
    return Open(load, [&] {
      files.TitleEdit.Text = title;
      files.Accept();
    });
  }
};

}  // namespace slatewick
