// The tap of a chalk on the board: a sharp click and a short burst of band-passed noise.
#include <QtEndian>
#include <algorithm>
#include <cmath>

#include "Assets.h"

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 0.085;

// Two-pole band-pass (constant peak gain), the usual biquad form.
class BandPass {
 public:
  BandPass(double centre, double q) {
    const double w = 2 * M_PI * centre / kRate, alpha = std::sin(w) / (2 * q);
    const double a0 = 1 + alpha;
    b0_ = alpha / a0;
    b2_ = -alpha / a0;
    a1_ = -2 * std::cos(w) / a0;
    a2_ = (1 - alpha) / a0;
  }
  double Step(double x) {
    const double y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  double b0_, b2_, a1_, a2_;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

void Append16(QByteArray& out, std::uint16_t v) {
  char b[2];
  qToLittleEndian(v, b);
  out.append(b, 2);
}

void Append32(QByteArray& out, std::uint32_t v) {
  char b[4];
  qToLittleEndian(v, b);
  out.append(b, 4);
}

}  // namespace

QByteArray MakeTapSound() {
  const int count = int(kRate * kSeconds);
  std::vector<double> s(count);
  Rng rng(0x7A9);
  BandPass scrape(3200, 1.1), knock(950, 4.0);
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / kRate;
    const double noise = rng.Range(-1, 1);
    const double attack = std::min(1.0, t / 0.0004);
    // The contact click: a few samples of broadband energy, gone within a millisecond.
    const double click = noise * std::exp(-t / 0.0007);
    const double burst = scrape.Step(noise) * attack * std::exp(-t / 0.011);
    const double body = knock.Step(noise) * attack * std::exp(-t / 0.006);
    s[i] = 0.9 * click + 2.2 * burst + 1.4 * body;
  }
  double peak = 0;
  for (double v : s) peak = std::max(peak, std::abs(v));
  const int fade = kRate / 200;  // the last 5 ms fade to silence
  QByteArray pcm;
  for (int i = 0; i < count; ++i) {
    const double gain = i >= count - fade ? double(count - i) / fade : 1.0;
    Append16(pcm, std::uint16_t(std::int16_t(std::lround(s[i] / peak * 0.8 * 32767 * gain))));
  }

  QByteArray wav("RIFF");
  Append32(wav, std::uint32_t(36 + pcm.size()));
  wav.append("WAVEfmt ");
  Append32(wav, 16);         // size of the format chunk
  Append16(wav, 1);          // PCM
  Append16(wav, 1);          // mono
  Append32(wav, kRate);      // samples per second
  Append32(wav, kRate * 2);  // bytes per second
  Append16(wav, 2);          // bytes per sample frame
  Append16(wav, 16);         // bits per sample
  wav.append("data");
  Append32(wav, std::uint32_t(pcm.size()));
  wav.append(pcm);
  return wav;
}
