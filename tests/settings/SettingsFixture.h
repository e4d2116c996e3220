#pragma once
// Scaffolding of the settings tests: files as bytes, a program folder of the test's own, and a
// folder that takes no new file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "settings/Language.h"
#include "support/FileBytes.h"
#include "support/LanguageSeams.h"
#include "support/ProcessSeams.h"

namespace slatewick {

// A fresh folder that stands in for the executable's folder, with the locale (1033) and the
// language file chosen as the program would choose them, and message boxes recorded and
// answered OK; these and the application title are put back afterwards.
class ExeFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    seams_.answer = [](const MessageBoxRequest&) { return BoxAnswer::Ok; };
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
  ProcessSeams seams_{dir_.path()};
  LanguageSeams language_{1033};
  std::vector<MessageBoxRequest>& boxes_ = seams_.boxes;
};

// While it lives, no new file can be made in folder, but file can still be written, as for a user
// in a folder that is not theirs: root takes the identity of "nobody" for that time.
class NoNewFiles {
 public:
  NoNewFiles(const QString& folder, const QString& file) : folder_(QFile::encodeName(folder)) {
    if (geteuid() == 0) {
      ::chmod(folder_.constData(), 0755);
      ::chmod(QFile::encodeName(file).constData(), 0666);
      EXPECT_EQ(seteuid(65534), 0);
    } else {
      ::chmod(folder_.constData(), 0555);
    }
  }
  ~NoNewFiles() {
    if (getuid() == 0) {
      EXPECT_EQ(seteuid(0), 0);
    }
    ::chmod(folder_.constData(), 0700);
  }
  NoNewFiles(const NoNewFiles&) = delete;
  NoNewFiles& operator=(const NoNewFiles&) = delete;

 private:
  QByteArray folder_;
};

}  // namespace slatewick
