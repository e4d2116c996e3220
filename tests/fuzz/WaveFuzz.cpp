#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/WebmWriter.h"

using namespace slatewick;

// Any bytes as a RIFF WAVE image: a clip no longer than MaxClipSeconds whose samples are all
// finite and near -1..1 (the resampler may overshoot a little), or an empty one.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const AudioClip clip =
      DecodeWave(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
  if (clip.samples.size() > std::size_t(MaxClipSeconds) * AudioClip::SampleRate) std::abort();
  for (const float sample : clip.samples)
    if (!std::isfinite(sample) || std::abs(sample) > 2) std::abort();
  return 0;
}
