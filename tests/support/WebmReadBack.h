#pragma once
// A WebM file as FFmpeg's own demuxer and decoders read it back, for the video tests.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <vector>

namespace slatewick {

// A WebM file as FFmpeg's own demuxer and decoders read it back.
struct ReadBack {
  bool opened = false;
  double seconds = 0;  // the file's duration
  AVCodecID videoCodec = AV_CODEC_ID_NONE, audioCodec = AV_CODEC_ID_NONE;
  int frames = 0;
  QImage lastFrame;            // RGB32
  std::vector<float> samples;  // mono at 48 kHz, each placed at its time
  int audioRate = 0;
};

inline QImage ToImage(const AVFrame* frame) {
  QImage image(frame->width, frame->height, QImage::Format_RGB32);
  if (frame->format == AV_PIX_FMT_GBRP) {  // planes G, B, R: taken as they are
    for (int y = 0; y < frame->height; ++y)
      for (int x = 0; x < frame->width; ++x) {
        const auto at = [&](int plane) {
          return frame->data[plane][y * frame->linesize[plane] + x];
        };
        image.setPixel(x, y, qRgb(at(2), at(0), at(1)));
      }
    return image;
  }
  SwsContext* scaler =
      sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                     frame->height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr, nullptr, nullptr);
  std::uint8_t* target[] = {image.bits()};
  const int stride[] = {int(image.bytesPerLine())};
  sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, target, stride);
  sws_freeContext(scaler);
  return image;
}

inline ReadBack Read(const QByteArray& bytes) {
  ReadBack result;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("story.webm"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return result;
  file.close();
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
    return result;
  avformat_find_stream_info(format, nullptr);
  result.opened = true;
  result.seconds = double(format->duration) / AV_TIME_BASE;
  std::vector<AVCodecContext*> decoders(format->nb_streams);
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    const AVCodecParameters* parameters = format->streams[i]->codecpar;
    if (parameters->codec_type == AVMEDIA_TYPE_VIDEO) result.videoCodec = parameters->codec_id;
    if (parameters->codec_type == AVMEDIA_TYPE_AUDIO) result.audioCodec = parameters->codec_id;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    decoders[i] = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(decoders[i], parameters);
    decoders[i]->pkt_timebase = format->streams[i]->time_base;
    avcodec_open2(decoders[i], codec, nullptr);
  }
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  const auto drain = [&](unsigned stream) {
    AVCodecContext* decoder = decoders[stream];
    while (avcodec_receive_frame(decoder, frame) == 0) {
      if (decoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        ++result.frames;
        result.lastFrame = ToImage(frame);
      } else {
        result.audioRate = frame->sample_rate;
        const auto at = std::size_t(std::max<std::int64_t>(
            0, av_rescale_q(frame->best_effort_timestamp, format->streams[stream]->time_base,
                            {1, frame->sample_rate})));
        const auto* data = reinterpret_cast<const float*>(frame->extended_data[0]);
        if (result.samples.size() < at + std::size_t(frame->nb_samples))
          result.samples.resize(at + std::size_t(frame->nb_samples));
        std::copy(data, data + frame->nb_samples, result.samples.begin() + std::ptrdiff_t(at));
      }
    }
  };
  while (av_read_frame(format, packet) >= 0) {
    const unsigned stream = unsigned(packet->stream_index);
    avcodec_send_packet(decoders[stream], packet);
    av_packet_unref(packet);
    drain(stream);
  }
  for (unsigned i = 0; i < format->nb_streams; ++i) {
    avcodec_send_packet(decoders[i], nullptr);
    drain(i);
    avcodec_free_context(&decoders[i]);
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avformat_close_input(&format);
  return result;
}

// The loudest sample of [from, to) seconds.
inline float Peak(const std::vector<float>& samples, double from, double to) {
  float peak = 0;
  for (auto i = std::size_t(from * 48000); i < std::size_t(to * 48000) && i < samples.size(); ++i)
    peak = std::max(peak, std::abs(samples[i]));
  return peak;
}

}  // namespace slatewick
