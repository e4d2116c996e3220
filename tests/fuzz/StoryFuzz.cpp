#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

#include "board/StoryPlayer.h"
#include "platform/Environment.h"

using namespace slatewick;

namespace {

// Pictures far smaller than the regions drawn from them: every read must stay inside its source.
BoardPictures SmallPictures() {
  QImage small(24, 16, QImage::Format_RGB32);
  small.fill(qRgb(0xF0, 0xE8, 0xD0));
  return {small, small, small, small, small, small};
}

}  // namespace

// Any bytes as a story file: refused with a reason, or a story that encodes and decodes to the same
// events and plays to its end on a board of its own without a fault.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static int argc = 1;
  static char name[] = "fuzz_story";
  static char* argv[] = {name, nullptr};
  static const bool offscreen = qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);  // the overlay's text needs fonts
  (void)offscreen;

  const StoryRead read =
      Story::Decode(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
  if (!read.story) {
    if (read.refusal.isEmpty()) std::abort();
    return 0;
  }
  const Story& story = *read.story;
  const StoryRead again = Story::Decode(story.Encode(story.Picture()));
  if (!again.story || again.story->Events() != story.Events() ||
      again.story->StateCount() != story.StateCount())
    std::abort();
  NoSoundOutput sound;
  StoryPlayer player(story, SmallPictures(), sound, {});
  player.PlayUntil(player.Duration());
  if (!player.Ended()) std::abort();
  return 0;
}
