#include "files/widgets/VideoExport.h"

#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <thread>

#include "board/widgets/MainWindow.h"
#include "files/StoryVideo.h"
#include "files/widgets/SaveDialog.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "settings/Language.h"

namespace slatewick {

namespace {

// What the encoding thread and the progress dialog share.
struct VideoJob {
  std::atomic<int> done{0}, total{1};
  std::atomic<bool> cancelled{false}, finished{false};
  QString error;  // written by the encoding thread before `finished`
};

// Writes the story to path on a thread of its own; the progress dialog's loop runs meanwhile,
// so the window keeps drawing itself. Returns once the thread has ended.
void EncodeWithProgress(const Board& board, const QString& path, QWidget* parent) {
  VideoJob job;
  std::thread encoder([&job, story = board.CurrentStory(), pictures = board.Pictures(),
                       tap = board.TapSoundImage(), path] {
    try {
      WriteStoryVideo(story, pictures, tap, path, [&job](int done, int total) {
        job.done = done;
        job.total = total;
        return !job.cancelled;
      });
    } catch (const AppError& error) {
      job.error = error.Message();
    }
    job.finished = true;
  });

  QProgressDialog progress(LangText(Texts::VideoProgress), QString(), 0, 1000, parent);
  progress.setWindowTitle(LangText(Texts::VideoTitle));
  progress.setCancelButtonText(QProgressDialog::tr("Cancel"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setMinimumDuration(0);
  progress.setMinimumWidth(360);  // the title whole in the window manager's bar
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &progress, [&] {
    if (job.finished) return progress.accept();
    progress.setValue(int(std::int64_t(job.done) * 1000 / std::max(1, job.total.load())));
  });
  QObject::connect(&progress, &QProgressDialog::canceled, [&job] { job.cancelled = true; });
  poll.start(50);
  progress.exec();
  job.cancelled = job.cancelled || !job.finished;
  encoder.join();
  if (!job.error.isEmpty()) ShowErrorBox(job.error);
}

}  // namespace

void InstallVideoCommand(MainWindow& window) {
  Board& board = window.Core();
  auto* saveFile = new SaveDialog(&window);
  saveFile->Dialog().DefaultExt = QStringLiteral("webm");
  board.Commands().video = [&board, &window, saveFile] {
    const FrameTimerPause pause(board.Timer());
    SaveFileModel& dialog = saveFile->Dialog();
    dialog.Filter = LangText(Texts::FileTypeWebm) + QStringLiteral(" (*.webm)");
    if (!dialog.Execute()) return;
    EncodeWithProgress(board, dialog.FileName, &window);
  };
}

}  // namespace slatewick
