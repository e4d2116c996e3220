#include <zstd.h>

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

// Bytes that begin as a story file are read as they are; any others are taken as a story's
// unpacked contents and packed as a story file packs them, so that mutations reach the reader of
// the contents and not only the unpacker.
QByteArray StoryFile(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  if (bytes.startsWith("SLWKSTRY")) return bytes;
  QByteArray packed(qsizetype(ZSTD_compressBound(size)), Qt::Uninitialized);
  const std::size_t n = ZSTD_compress(packed.data(), std::size_t(packed.size()), data, size, 1);
  if (ZSTD_isError(n)) std::abort();
  packed.truncate(qsizetype(n));
  return QByteArray("SLWKSTRY\x01\0\0\0", 12) + packed;
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

  const StoryRead read = Story::Decode(StoryFile(data, size));
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
