#include "platform/WebmWriter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/AppError.h"
#include "platform/Sound.h"

namespace slatewick {

namespace {

QString AvErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return QString::fromLocal8Bit(text);
}

[[noreturn]] void Fail(const QString& what, int code) {
  throw AppError(QStringLiteral("Video export: %1: %2").arg(what, AvErrorText(code)));
}

[[noreturn]] void Fail(const QString& what) {
  throw AppError(QStringLiteral("Video export: %1").arg(what));
}

// Owners of FFmpeg's objects, each freed by its own function.
struct CodecFree {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFree {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFree {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScaleFree {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};
struct ResampleFree {
  void operator()(SwrContext* context) const { swr_free(&context); }
};
struct IoFree {
  void operator()(AVIOContext* io) const {
    av_freep(&io->buffer);
    avio_context_free(&io);
  }
};
struct FormatFree {
  void operator()(AVFormatContext* format) const { avformat_free_context(format); }
};
using CodecPtr = std::unique_ptr<AVCodecContext, CodecFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using ScalePtr = std::unique_ptr<SwsContext, ScaleFree>;
using ResamplePtr = std::unique_ptr<SwrContext, ResampleFree>;
using IoPtr = std::unique_ptr<AVIOContext, IoFree>;
using FormatPtr = std::unique_ptr<AVFormatContext, FormatFree>;

// --- RIFF WAVE ---

constexpr int MaxWaveChannels = 8;
constexpr int MaxWaveRate = 384000;
constexpr std::uint16_t FormatPcm = 1, FormatFloat = 3, FormatExtensible = 0xFFFE;

std::uint32_t Le16(const unsigned char* p) {
  return std::uint32_t(p[0] | (p[1] << 8));
}
std::uint32_t Le32(const unsigned char* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

struct WaveFormat {
  std::uint32_t tag = 0, channels = 0, rate = 0, blockAlign = 0, bits = 0;
};

// One sample at p (bits wide, little-endian) in -1..1.
float Sample(const unsigned char* p, const WaveFormat& format) {
  if (format.tag == FormatFloat) {
    float value;
    std::memcpy(&value, p, sizeof value);
    return std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : 0.0f;
  }
  switch (format.bits) {
    case 8:
      return (float(p[0]) - 128.0f) / 128.0f;
    case 16:
      return float(std::int16_t(Le16(p))) / 32768.0f;
    case 24: {
      const std::uint32_t value =
          std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
      return float(std::int32_t(value ^ 0x800000u) - 0x800000) / 8388608.0f;
    }
    default:
      return float(double(std::int32_t(Le32(p))) / 2147483648.0);
  }
}

bool Supported(const WaveFormat& format) {
  const bool integer = format.tag == FormatPcm && (format.bits == 8 || format.bits == 16 ||
                                                   format.bits == 24 || format.bits == 32);
  const bool floating = format.tag == FormatFloat && format.bits == 32;
  return (integer || floating) && format.channels >= 1 && format.channels <= MaxWaveChannels &&
         format.rate >= 1 && format.rate <= MaxWaveRate &&
         format.blockAlign == format.channels * format.bits / 8;
}

// The fmt chunk's body of `size` bytes; an extensible one takes its sub-format's tag.
bool ReadFormat(const unsigned char* body, std::uint32_t size, WaveFormat& format) {
  if (size < 16) return false;
  format.tag = Le16(body);
  format.channels = Le16(body + 2);
  format.rate = Le32(body + 4);
  format.blockAlign = Le16(body + 12);
  format.bits = Le16(body + 14);
  if (format.tag == FormatExtensible) {
    // cbSize, valid bits, channel mask, then the sub-format GUID whose first two bytes are a tag.
    if (size < 40 || Le16(body + 16) < 22) return false;
    format.tag = Le16(body + 24);
  }
  return Supported(format);
}

// Resamples mono samples at `rate` to AudioClip::SampleRate, keeping their length in time. The
// resampler holds back the last half of its filter (16 samples at the lower of the two rates) and
// gives nothing for a sound shorter than that: silence after the sound carries all of it through.
std::vector<float> Resample(std::vector<float> mono, int rate) {
  if (rate == AudioClip::SampleRate) return mono;
  const std::int64_t expected =
      av_rescale_rnd(std::int64_t(mono.size()), AudioClip::SampleRate, rate, AV_ROUND_NEAR_INF);
  const std::int64_t tail =
      64 * std::max<std::int64_t>(1, (rate + AudioClip::SampleRate - 1) / AudioClip::SampleRate);
  mono.resize(mono.size() + std::size_t(tail), 0.0f);
  SwrContext* raw = nullptr;
  AVChannelLayout layout;
  av_channel_layout_default(&layout, 1);
  if (swr_alloc_set_opts2(&raw, &layout, AV_SAMPLE_FMT_FLT, AudioClip::SampleRate, &layout,
                          AV_SAMPLE_FMT_FLT, rate, 0, nullptr) < 0)
    return {};
  const ResamplePtr resampler(raw);
  if (swr_init(resampler.get()) < 0) return {};
  std::vector<float> out(std::size_t(swr_get_out_samples(resampler.get(), int(mono.size()))));
  auto* to = reinterpret_cast<std::uint8_t*>(out.data());
  const auto* from = reinterpret_cast<const std::uint8_t*>(mono.data());
  const int made = swr_convert(resampler.get(), &to, int(out.size()), &from, int(mono.size()));
  if (made < expected) return {};
  out.resize(std::size_t(expected));
  return out;
}

// --- The file in memory ---

// A seekable file of bytes: the muxer seeks back to fill in sizes and its header's duration.
struct MemoryFile {
  QByteArray bytes;       // bytes.size() is the room; size the file's length
  std::int64_t size = 0;  // bytes written, up to the farthest end
  std::int64_t position = 0;

  static int Write(void* opaque, std::uint8_t* data, int count) {
    auto* file = static_cast<MemoryFile*>(opaque);
    const std::int64_t end = file->position + count;
    if (end > file->bytes.size()) {
      const qsizetype room = std::max<qsizetype>(qsizetype(end), file->bytes.size() * 2);
      file->bytes.resize(room);
    }
    std::memcpy(file->bytes.data() + file->position, data, std::size_t(count));
    file->position = end;
    file->size = std::max(file->size, end);
    return count;
  }

  static std::int64_t Seek(void* opaque, std::int64_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(opaque);
    std::int64_t to;
    switch (whence & ~AVSEEK_FORCE) {
      case AVSEEK_SIZE:
        return file->size;
      case SEEK_SET:
        to = offset;
        break;
      case SEEK_CUR:
        to = file->position + offset;
        break;
      case SEEK_END:
        to = file->size + offset;
        break;
      default:
        return AVERROR(EINVAL);
    }
    if (to < 0) return AVERROR(EINVAL);
    file->position = to;
    return to;
  }
};

constexpr int IoBufferBytes = 64 * 1024;
constexpr int KeyFrameSeconds = 10;
constexpr int AudioBitRate = 64000;
constexpr int VideoQuality = 32;  // VP9's quantiser scale, 0..63

void SetOption(AVCodecContext* codec, const char* name, const char* value) {
  const int result = av_opt_set(codec->priv_data, name, value, 0);
  if (result < 0) Fail(QStringLiteral("encoder option %1").arg(QLatin1String(name)), result);
}

// Converts RGB32 frames into an encoder's picture tile by tile, only where a frame differs from
// the one before: a board changes in a few places a frame, and converting all of it costs as much
// as encoding it. Chroma is point-sampled (each 2 x 2 block takes one pixel's colour), so that a
// tile's conversion depends on its own pixels only and equals that of the whole picture.
class TileConverter {
 public:
  TileConverter(int width, int height, AVPixelFormat to)
      : width_(width),
        height_(height),
        to_(to),
        previous_(std::size_t(width) * height),
        dirty_(std::size_t((width + TileWidth - 1) / TileWidth)) {
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(to);
    planes_ = av_pix_fmt_count_planes(to);
    shiftX_ = descriptor->log2_chroma_w;
    shiftY_ = descriptor->log2_chroma_h;
  }

  // picture holds the conversion of the frame before, unless this is the first; rgb is RGB32
  // of width x height.
  void Convert(const QImage& rgb, AVFrame* picture) {
    const std::size_t rowBytes = std::size_t(width_) * 4;
    for (int y0 = 0; y0 < height_; y0 += TileHeight) {
      const int rows = std::min(TileHeight, height_ - y0);
      std::fill(dirty_.begin(), dirty_.end(), false);
      bool changed = false;
      for (int y = y0; y < y0 + rows; ++y) {
        const auto* now = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        std::uint32_t* before = previous_.data() + std::size_t(y) * width_;
        if (!first_ && std::memcmp(now, before, rowBytes) == 0) continue;
        for (std::size_t column = 0; column < dirty_.size(); ++column) {
          const int x0 = int(column) * TileWidth, w = std::min(TileWidth, width_ - x0);
          if (!dirty_[column] &&
              (first_ || std::memcmp(now + x0, before + x0, std::size_t(w) * 4) != 0))
            dirty_[column] = changed = true;
        }
        std::memcpy(before, now, rowBytes);
      }
      if (!changed) continue;
      for (std::size_t column = 0; column < dirty_.size(); ++column)
        if (dirty_[column]) ConvertTile(rgb, int(column) * TileWidth, y0, rows, picture);
    }
    first_ = false;
  }

 private:
  static constexpr int TileWidth = 64, TileHeight = 16;  // even, as 4:2:0 chroma needs

  void ConvertTile(const QImage& rgb, int x0, int y0, int rows, AVFrame* picture) {
    const int w = std::min(TileWidth, width_ - x0);
    ScalePtr& scaler = scalers_[w != TileWidth][rows != TileHeight];
    if (!scaler) {
      scaler.reset(sws_getContext(w, rows, AV_PIX_FMT_RGB32, w, rows, to_, SWS_POINT, nullptr,
                                  nullptr, nullptr));
      if (!scaler) Fail(QStringLiteral("the picture converter"));
    }
    const std::uint8_t* source[] = {rgb.constScanLine(y0) + std::ptrdiff_t(x0) * 4};
    const int stride[] = {int(rgb.bytesPerLine())};
    std::uint8_t* target[4] = {};
    for (int p = 0; p < planes_; ++p) {
      const int sx = p == 1 || p == 2 ? shiftX_ : 0, sy = p == 1 || p == 2 ? shiftY_ : 0;
      target[p] = picture->data[p] + std::ptrdiff_t(y0 >> sy) * picture->linesize[p] + (x0 >> sx);
    }
    sws_scale(scaler.get(), source, stride, 0, rows, target, picture->linesize);
  }

  int width_, height_;
  AVPixelFormat to_;
  int planes_ = 0, shiftX_ = 0, shiftY_ = 0;
  std::vector<std::uint32_t> previous_;  // the frame before, as given
  std::vector<bool> dirty_;              // the tiles of a band that changed
  bool first_ = true;
  ScalePtr scalers_[2][2];  // by [narrower last column][shorter last band]
};

}  // namespace

AudioClip DecodeWave(const QByteArray& image) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(image.constData());
  const std::size_t size = std::size_t(image.size());
  if (size < 12 || size > MaxSoundBytes || std::memcmp(bytes, "RIFF", 4) != 0 ||
      std::memcmp(bytes + 8, "WAVE", 4) != 0)
    return {};
  // The chunks up to the end of the image, whatever the RIFF header claims.
  WaveFormat format;
  bool haveFormat = false;
  const unsigned char* data = nullptr;
  std::size_t dataBytes = 0;
  for (std::size_t at = 12; size - at >= 8;) {
    const std::size_t claimed = Le32(bytes + at + 4);
    const std::size_t body = at + 8, present = std::min(claimed, size - body);
    if (std::memcmp(bytes + at, "fmt ", 4) == 0 && !haveFormat) {
      if (!ReadFormat(bytes + body, std::uint32_t(present), format)) return {};
      haveFormat = true;
    } else if (std::memcmp(bytes + at, "data", 4) == 0 && !data) {
      data = bytes + body;
      dataBytes = present;
    }
    if (claimed >= size - body) break;
    at = body + claimed + (claimed & 1);
  }
  if (!haveFormat || !data) return {};
  const std::size_t frames = dataBytes / format.blockAlign;
  if (frames > std::size_t(format.rate) * MaxClipSeconds) return {};
  std::vector<float> mono(frames);
  const std::size_t sampleBytes = format.bits / 8;
  for (std::size_t i = 0; i < frames; ++i) {
    const unsigned char* frame = data + i * format.blockAlign;
    float sum = 0;
    for (std::uint32_t c = 0; c < format.channels; ++c)
      sum += Sample(frame + c * sampleBytes, format);
    mono[i] = sum / float(format.channels);
  }
  AudioClip clip;
  clip.samples = Resample(std::move(mono), int(format.rate));
  return clip;
}

// The writer's two sides. The caller's thread converts each frame and mixes its sound; a thread of
// the writer's own encodes and writes them, so that libvpx works beside the conversion and the
// caller's drawing. Members above `lock` belong to the caller's side, those below the queue to
// the encoding thread (until it has ended).
struct WebmWriter::Encoder {
  // A frame's picture and sound, or the end of the file (null picture).
  struct Job {
    FramePtr picture;
    std::vector<float> sound;
    bool cancel = false;
  };
  static constexpr std::size_t MaxQueued = 2;  // frames waiting, each with a picture of its own

  Options options;
  std::unique_ptr<TileConverter> converter;
  FramePtr picture;  // the last frame converted
  int frames = 0;
  bool finished = false;
  std::vector<float> clip;  // the clip playing and the next of its samples
  std::size_t clipAt = 0;
  std::int64_t mixedSamples = 0;

  std::mutex lock;
  std::condition_variable changed;
  std::deque<Job> queue;
  QString failure;  // the encoding thread's error, once it failed
  std::thread thread;

  MemoryFile file;
  IoPtr io;
  FormatPtr format;
  CodecPtr video, audio;
  AVStream* videoStream = nullptr;
  AVStream* audioStream = nullptr;
  FramePtr sound;
  PacketPtr packet;
  // Samples mixed but not yet encoded (less than one Opus frame), and those encoded.
  std::vector<float> pending;
  std::int64_t audioSamples = 0;

  explicit Encoder(const Options& options);
  ~Encoder();
  void OpenVideo();
  void OpenAudio();
  // The caller's side: queues a job, waiting while the queue is full; throws the encoding
  // thread's error.
  void Queue(Job job);
  std::vector<float> Mix(std::int64_t count);
  // The encoding thread.
  void Run();
  void Encode(Job& job);
  void End();
  void EncodeAudio(int count);
  // Sends frame (null: the end) to codec and writes every packet it gives.
  void Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);
};

WebmWriter::Encoder::Encoder(const Options& o) : options(o) {
  av_log_set_level(AV_LOG_ERROR);  // not libvpx's version at every open
  if (o.width <= 0 || o.height <= 0 || o.width % 2 || o.height % 2 || o.framesPerSecond <= 0)
    Fail(QStringLiteral("a video of %1 x %2 at %3 frames a second cannot be encoded")
             .arg(o.width)
             .arg(o.height)
             .arg(o.framesPerSecond));
  auto* buffer = static_cast<unsigned char*>(av_malloc(IoBufferBytes));
  if (!buffer) Fail(QStringLiteral("out of memory"));
  io.reset(avio_alloc_context(buffer, IoBufferBytes, 1, &file, nullptr, &MemoryFile::Write,
                              &MemoryFile::Seek));
  if (!io) {
    av_free(buffer);
    Fail(QStringLiteral("out of memory"));
  }
  AVFormatContext* raw = nullptr;
  const int made = avformat_alloc_output_context2(&raw, nullptr, "webm", nullptr);
  if (made < 0) Fail(QStringLiteral("the WebM muxer"), made);
  format.reset(raw);
  format->pb = io.get();
  packet.reset(av_packet_alloc());
  if (!packet) Fail(QStringLiteral("out of memory"));
  OpenVideo();
  OpenAudio();
  const int header = avformat_write_header(format.get(), nullptr);
  if (header < 0) Fail(QStringLiteral("the WebM header"), header);
  thread = std::thread([this] { Run(); });
}

WebmWriter::Encoder::~Encoder() {
  if (!thread.joinable()) return;
  {
    const std::lock_guard<std::mutex> hold(lock);
    queue.clear();
    queue.push_back({nullptr, {}, true});
  }
  changed.notify_all();
  thread.join();
}

void WebmWriter::Encoder::OpenVideo() {
  const AVCodec* codec = avcodec_find_encoder_by_name("libvpx-vp9");
  if (!codec) Fail(QStringLiteral("FFmpeg has no VP9 encoder (libvpx-vp9)"));
  video.reset(avcodec_alloc_context3(codec));
  if (!video) Fail(QStringLiteral("out of memory"));
  AVCodecContext* c = video.get();
  c->width = options.width;
  c->height = options.height;
  c->time_base = {1, options.framesPerSecond};
  c->framerate = {options.framesPerSecond, 1};
  c->gop_size = KeyFrameSeconds * options.framesPerSecond;
  c->thread_count = 1;
  c->bit_rate = 0;
  if (options.lossless) {
    c->pix_fmt = AV_PIX_FMT_GBRP;
    c->colorspace = AVCOL_SPC_RGB;
    c->color_range = AVCOL_RANGE_JPEG;
    c->profile = FF_PROFILE_VP9_1;
    SetOption(c, "lossless", "1");
  } else {
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->colorspace = AVCOL_SPC_SMPTE170M;
    c->color_range = AVCOL_RANGE_MPEG;
    c->profile = FF_PROFILE_VP9_0;
    SetOption(c, "crf", QByteArray::number(VideoQuality).constData());
    SetOption(c, "tune-content", "screen");
  }
  SetOption(c, "deadline", "realtime");
  SetOption(c, "cpu-used", "8");
  SetOption(c, "lag-in-frames", "0");
  if (format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  const int opened = avcodec_open2(c, codec, nullptr);
  if (opened < 0) Fail(QStringLiteral("the VP9 encoder"), opened);

  videoStream = avformat_new_stream(format.get(), nullptr);
  if (!videoStream) Fail(QStringLiteral("out of memory"));
  const int copied = avcodec_parameters_from_context(videoStream->codecpar, c);
  if (copied < 0) Fail(QStringLiteral("the video track"), copied);
  videoStream->time_base = c->time_base;
  videoStream->avg_frame_rate = c->framerate;

  picture.reset(av_frame_alloc());
  if (!picture) Fail(QStringLiteral("out of memory"));
  picture->format = c->pix_fmt;
  picture->width = c->width;
  picture->height = c->height;
  const int allocated = av_frame_get_buffer(picture.get(), 0);
  if (allocated < 0) Fail(QStringLiteral("a picture"), allocated);
  converter = std::make_unique<TileConverter>(c->width, c->height, c->pix_fmt);
}

void WebmWriter::Encoder::OpenAudio() {
  const AVCodec* codec = avcodec_find_encoder_by_name("libopus");
  if (!codec) Fail(QStringLiteral("FFmpeg has no Opus encoder (libopus)"));
  audio.reset(avcodec_alloc_context3(codec));
  if (!audio) Fail(QStringLiteral("out of memory"));
  AVCodecContext* c = audio.get();
  c->sample_rate = AudioClip::SampleRate;
  c->sample_fmt = AV_SAMPLE_FMT_FLT;
  av_channel_layout_default(&c->ch_layout, 1);
  c->bit_rate = AudioBitRate;
  c->time_base = {1, AudioClip::SampleRate};
  if (format->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  const int opened = avcodec_open2(c, codec, nullptr);
  if (opened < 0) Fail(QStringLiteral("the Opus encoder"), opened);

  audioStream = avformat_new_stream(format.get(), nullptr);
  if (!audioStream) Fail(QStringLiteral("out of memory"));
  const int copied = avcodec_parameters_from_context(audioStream->codecpar, c);
  if (copied < 0) Fail(QStringLiteral("the audio track"), copied);
  audioStream->time_base = c->time_base;

  sound.reset(av_frame_alloc());
  if (!sound) Fail(QStringLiteral("out of memory"));
  pending.reserve(std::size_t(c->frame_size) * 2);
}

void WebmWriter::Encoder::Send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
  int result = avcodec_send_frame(codec, frame);
  if (result < 0) Fail(QStringLiteral("encoding"), result);
  for (;;) {
    result = avcodec_receive_packet(codec, packet.get());
    if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
    if (result < 0) Fail(QStringLiteral("encoding"), result);
    if (codec == video.get() && packet->duration == 0) packet->duration = 1;
    av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
    packet->stream_index = stream->index;
    result = av_interleaved_write_frame(format.get(), packet.get());
    if (result < 0) Fail(QStringLiteral("writing"), result);
  }
}

void WebmWriter::Encoder::Queue(Job job) {
  std::unique_lock<std::mutex> hold(lock);
  changed.wait(hold, [this] { return queue.size() < MaxQueued || !failure.isEmpty(); });
  if (!failure.isEmpty()) throw AppError(failure);
  queue.push_back(std::move(job));
  hold.unlock();
  changed.notify_all();
}

std::vector<float> WebmWriter::Encoder::Mix(std::int64_t count) {
  const std::size_t from = std::min(clipAt, clip.size());
  const std::size_t played = std::min<std::size_t>(clip.size() - from, std::size_t(count));
  std::vector<float> mixed(std::size_t(count), 0.0f);
  std::copy_n(clip.begin() + std::ptrdiff_t(from), played, mixed.begin());
  clipAt = from + played;
  mixedSamples += count;
  return mixed;
}

void WebmWriter::Encoder::Run() {
  for (;;) {
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [this] { return !queue.empty(); });
    Job job = std::move(queue.front());
    queue.pop_front();
    const bool failed = !failure.isEmpty();
    hold.unlock();
    changed.notify_all();
    if (job.cancel) return;
    const bool end = !job.picture;
    try {
      if (!failed) end ? End() : Encode(job);
    } catch (const std::exception& error) {
      const auto* appError = dynamic_cast<const AppError*>(&error);
      hold.lock();
      failure = appError ? appError->Message() : QString::fromLocal8Bit(error.what());
      hold.unlock();
      changed.notify_all();
    }
    if (end) return;
  }
}

void WebmWriter::Encoder::Encode(Job& job) {
  Send(video.get(), videoStream, job.picture.get());
  job.picture.reset();
  pending.insert(pending.end(), job.sound.begin(), job.sound.end());
  while (pending.size() >= std::size_t(audio->frame_size)) EncodeAudio(audio->frame_size);
}

void WebmWriter::Encoder::End() {
  if (!pending.empty()) EncodeAudio(int(pending.size()));
  Send(audio.get(), audioStream, nullptr);
  Send(video.get(), videoStream, nullptr);
  const int trailer = av_write_trailer(format.get());
  if (trailer < 0) Fail(QStringLiteral("the WebM index"), trailer);
  avio_flush(io.get());
  if (io->error < 0) Fail(QStringLiteral("writing"), io->error);
}

void WebmWriter::Encoder::EncodeAudio(int count) {
  AVFrame* f = sound.get();
  av_frame_unref(f);
  f->format = audio->sample_fmt;
  f->sample_rate = audio->sample_rate;
  f->nb_samples = count;
  const int layout = av_channel_layout_copy(&f->ch_layout, &audio->ch_layout);
  if (layout < 0) Fail(QStringLiteral("a sound frame"), layout);
  const int allocated = av_frame_get_buffer(f, 0);
  if (allocated < 0) Fail(QStringLiteral("a sound frame"), allocated);
  std::memcpy(f->data[0], pending.data(), std::size_t(count) * sizeof(float));
  pending.erase(pending.begin(), pending.begin() + count);
  f->pts = audioSamples;
  audioSamples += count;
  Send(audio.get(), audioStream, f);
}

WebmWriter::WebmWriter(const Options& options) : encoder_(std::make_unique<Encoder>(options)) {}

WebmWriter::~WebmWriter() = default;

void WebmWriter::AddFrame(const QImage& frame) {
  Encoder& e = *encoder_;
  if (e.finished) Fail(QStringLiteral("a frame after the end"));
  if (frame.width() != e.options.width || frame.height() != e.options.height)
    Fail(QStringLiteral("a frame of %1 x %2 in a video of %3 x %4")
             .arg(frame.width())
             .arg(frame.height())
             .arg(e.options.width)
             .arg(e.options.height));
  const QImage rgb =
      frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
          ? frame
          : frame.convertToFormat(QImage::Format_RGB32);
  // The picture is still the encoding thread's while it encodes the frame before: a copy then.
  AVFrame* p = e.picture.get();
  const int writable = av_frame_make_writable(p);
  if (writable < 0) Fail(QStringLiteral("a picture"), writable);
  e.converter->Convert(rgb, p);
  p->pts = e.frames;
  FramePtr shared(av_frame_clone(p));
  if (!shared) Fail(QStringLiteral("out of memory"));
  const std::int64_t mixedEnd =
      std::int64_t(e.frames + 1) * AudioClip::SampleRate / e.options.framesPerSecond;
  e.Queue({std::move(shared), e.Mix(mixedEnd - e.mixedSamples)});
  ++e.frames;
}

void WebmWriter::PlaySound(const AudioClip& clip) {
  encoder_->clip = clip.samples;
  encoder_->clipAt = 0;
}

int WebmWriter::Frames() const {
  return encoder_->frames;
}

QByteArray WebmWriter::Finish() {
  Encoder& e = *encoder_;
  if (e.finished) Fail(QStringLiteral("a second end"));
  e.finished = true;
  e.Queue({});
  e.thread.join();
  if (!e.failure.isEmpty()) throw AppError(e.failure);
  QByteArray bytes = std::move(e.file.bytes);
  bytes.truncate(qsizetype(e.file.size));
  return bytes;
}

}  // namespace slatewick
