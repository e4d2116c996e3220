#pragma once
// A file of this process for the targets that read files: in /dev/shm where the machine has it
// (no disk writes), else in the temporary folder; removed when the process ends.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>

class ScratchFile {
 public:
  explicit ScratchFile(const char* name)
      : path_(QStringLiteral("%1/slatewick-fuzz-%2-%3")
                  .arg(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                 : QDir::tempPath())
                  .arg(getpid())
                  .arg(QLatin1String(name))) {}
  ~ScratchFile() { QFile::remove(path_); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const QString& Path() const { return path_; }
  // The file now holds exactly these bytes.
  void Write(const std::uint8_t* data, std::size_t size) const {
    QFile file(path_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
      file.write(reinterpret_cast<const char*>(data), qint64(size));
  }

 private:
  QString path_;
};
