#include "board/Story.h"

#include <zstd.h>

#include <QCryptographicHash>
#include <algorithm>
#include <memory>
#include <utility>

namespace slatewick {

namespace {

const QByteArray Magic = "SLWKSTRY";
constexpr std::uint32_t Version = 1;
constexpr int HashBytes = 20;  // SHA-1
constexpr int PackLevel = 9;

// Little-endian numbers, and whole numbers as LEB128 varints (signed ones zigzagged first).
class Writer {
 public:
  QByteArray bytes;
  void U8(unsigned v) { bytes.append(char(v & 0xFF)); }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) U8(v >> (8 * i));
  }
  void U64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) U8(unsigned(v >> (8 * i)));
  }
  void Var(std::uint64_t v) {
    while (v >= 0x80) {
      U8(unsigned(v) | 0x80);
      v >>= 7;
    }
    U8(unsigned(v));
  }
  void Signed(std::int64_t v) { Var((std::uint64_t(v) << 1) ^ std::uint64_t(v >> 63)); }
};

// Reads what Writer wrote; every read past the end or out of range marks the reader failed and
// gives 0, so that a caller checks once, at the end of a part.
class Reader {
 public:
  explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}
  bool Failed() const { return failed_; }
  bool AtEnd() const { return at_ == bytes_.size(); }
  qsizetype Left() const { return bytes_.size() - at_; }
  void Fail() { failed_ = true; }

  unsigned U8() {
    if (at_ >= bytes_.size()) return Fail(), 0;
    return unsigned(std::uint8_t(bytes_[at_++]));
  }
  std::uint32_t U32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(U8()) << (8 * i);
    return v;
  }
  std::uint64_t U64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= std::uint64_t(U8()) << (8 * i);
    return v;
  }
  std::uint64_t Var() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      const unsigned b = U8();
      v |= std::uint64_t(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    return Fail(), 0;
  }
  std::int64_t Signed() {
    const std::uint64_t v = Var();
    return std::int64_t(v >> 1) ^ -std::int64_t(v & 1);
  }
  // A signed number within lo..hi.
  int Int(int lo, int hi) {
    const std::int64_t v = Signed();
    if (v < lo || v > hi) return Fail(), lo;
    return int(v);
  }
  QByteArrayView Take(qsizetype n) {
    if (n < 0 || n > Left()) return Fail(), QByteArrayView();
    const QByteArrayView part = bytes_.sliced(at_, n);
    at_ += n;
    return part;
  }

 private:
  QByteArrayView bytes_;
  qsizetype at_ = 0;
  bool failed_ = false;
};

void WriteState(Writer& w, const StoryState& s) {
  const Hand& h = s.hand;
  for (int v : {h.tool, int(h.way), int(h.toolDown), int(h.fingerDown), h.pointerX, h.pointerY,
                h.chalkX, h.chalkY, h.chalkAngle, h.ends.ax, h.ends.ay, h.ends.bx, h.ends.by,
                h.strokeMoves, int(h.movesSinceDust)})
    w.Signed(v);
  w.Var(s.dust.size());
  for (const DustParticle& p : s.dust) {
    w.Signed(p.x);
    w.Signed(p.y);
    w.Signed(p.chalk);
  }
  w.U64(s.random);
  w.Var(std::uint64_t(SettingsBits(s.settings)));
  w.Var(std::uint64_t(s.client.width()));
  w.Var(std::uint64_t(s.client.height()));
  w.Var(std::uint64_t(s.slotsClientHeight));
  w.Var(std::uint64_t(KeyBits(s.keys)));
}

// Coordinates far beyond any window: enough for a hand dragged off it, bounded for the canvas.
constexpr int Far = 1 << 20;

bool ReadState(Reader& r, StoryState& s, std::int64_t& dustLeft) {
  Hand& h = s.hand;
  h.tool = r.Int(EraserSelected, 5);
  h.way = ChalkWay(r.Int(0, 3));
  h.toolDown = r.Int(0, 1);
  h.fingerDown = r.Int(0, 1);
  h.pointerX = r.Int(-Far, Far), h.pointerY = r.Int(-Far, Far);
  h.chalkX = r.Int(-Far, Far), h.chalkY = r.Int(-Far, Far);
  h.chalkAngle = r.Int(-90, 90);
  h.ends = {r.Int(-Far, Far), r.Int(-Far, Far), r.Int(-Far, Far), r.Int(-Far, Far)};
  h.strokeMoves = r.Int(0, 1 << 30);
  h.movesSinceDust = std::uint8_t(r.Int(0, 255));
  const std::uint64_t dust = r.Var();
  if (r.Failed() || std::int64_t(dust) > dustLeft || std::int64_t(dust) * 3 > r.Left())
    return false;
  dustLeft -= std::int64_t(dust);
  s.dust.resize(std::size_t(dust));
  for (DustParticle& p : s.dust) p = {r.Int(-Far, Far), r.Int(-Far, Far), r.Int(0, 5)};
  s.random = r.U64();
  s.settings = SettingsOf(std::int64_t(r.Var() & 0x7F));
  const std::uint64_t width = r.Var(), height = r.Var();
  if (width < 1 || height < 1 || width > Story::MaxSide || height > Story::MaxSide) r.Fail();
  s.client = QSize(int(width), int(height));
  const std::uint64_t trayLaidFor = r.Var();
  if (trayLaidFor < 1 || trayLaidFor > Story::MaxSide) r.Fail();
  s.slotsClientHeight = int(trayLaidFor);
  s.keys = KeysOf(std::int64_t(r.Var() & 0x1F));
  return !r.Failed();
}

void WriteEvent(Writer& w, const StoryEvent& e, std::int64_t& lastTick) {
  w.U8(unsigned(e.step));
  switch (e.step) {
    case StoryStep::Tick:
      w.Var(std::uint64_t(e.value - lastTick));
      lastTick = e.value;
      return;
    case StoryStep::Press:
    case StoryStep::Release:
      w.U8(e.flag);
      [[fallthrough]];
    case StoryStep::Move:
    case StoryStep::Resize:
      w.Signed(e.x);
      w.Signed(e.y);
      return;
    case StoryStep::KeyDown:
      w.U8(e.flag | (e.x ? 0x80u : 0u));
      return;
    case StoryStep::KeyUp:
      w.U8(e.flag);
      return;
    case StoryStep::Keys:
    case StoryStep::WriteDate:
    case StoryStep::Settings:
    case StoryStep::Resume:
      w.Signed(e.value);
      return;
    case StoryStep::WheelTowardsUser:
    case StoryStep::WheelAwayFromUser:
    case StoryStep::Undo:
    case StoryStep::Redo:
      return;
  }
}

bool ReadEvent(Reader& r, StoryEvent& e, std::int64_t& lastTick, int states) {
  const unsigned step = r.U8();
  if (step >= StorySteps) return false;
  e = {StoryStep(step)};
  switch (e.step) {
    case StoryStep::Tick: {
      const std::uint64_t delta = r.Var();
      if (delta > std::uint64_t(1) << 40) return false;
      e.value = lastTick += std::int64_t(delta);
      break;
    }
    case StoryStep::Press:
    case StoryStep::Release:
      e.flag = std::uint8_t(r.U8());
      if (e.flag > 2) return false;
      [[fallthrough]];
    case StoryStep::Move:
      e.x = r.Int(-Far, Far);
      e.y = r.Int(-Far, Far);
      break;
    case StoryStep::Resize:
      e.x = r.Int(1, Story::MaxSide);
      e.y = r.Int(1, Story::MaxSide);
      break;
    case StoryStep::KeyDown: {
      const unsigned v = r.U8();
      e.flag = std::uint8_t(v & 0x7F);
      e.x = (v & 0x80) ? 1 : 0;
      if (e.flag > 3) return false;
      break;
    }
    case StoryStep::KeyUp:
      e.flag = std::uint8_t(r.U8());
      if (e.flag > 3) return false;
      break;
    case StoryStep::Keys:
      e.value = r.Int(0, 0x1F);
      break;
    case StoryStep::Settings:
      e.value = r.Int(0, 0x7F);
      break;
    case StoryStep::WriteDate:
      e.value = r.Int(0, 1 << 30);  // a Julian day: some 2.9 million years
      break;
    case StoryStep::Resume:
      e.value = r.Int(1, states - 1);
      break;
    case StoryStep::WheelTowardsUser:
    case StoryStep::WheelAwayFromUser:
    case StoryStep::Undo:
    case StoryStep::Redo:
      break;
  }
  return !r.Failed();
}

QString Refusal(const char* why) {
  return QString::fromUtf8(why);
}

}  // namespace

std::int64_t KeyBits(const KeyState& k) {
  return int(k.Left) | int(k.Right) << 1 | int(k.Middle) << 2 | int(k.Ctrl) << 3 |
         int(k.Shift) << 4;
}

KeyState KeysOf(std::int64_t b) {
  return {bool(b & 1), bool(b & 2), bool(b & 4), bool(b & 8), bool(b & 16)};
}

std::int64_t SettingsBits(const Settings& s) {
  return int(s.LeaveSmudge) | int(s.LimitStrokeLength) << 1 | int(s.DateAtStart) << 2 |
         int(s.DateAfterClear) << 3 | int(s.ShowDust) << 4 | int(s.CornerOnlyWithCtrl) << 5 |
         int(s.ShowDebug) << 6;
}

Settings SettingsOf(std::int64_t b) {
  return {bool(b & 1),  bool(b & 2),  bool(b & 4), bool(b & 8),
          bool(b & 16), bool(b & 32), bool(b & 64)};
}

Story::Story(QImage picture, StoryState start)
    : picture_(std::move(picture).convertToFormat(QImage::Format_RGB32)) {
  states_.push_back(std::move(start));
}

void Story::Add(const StoryEvent& event) {
  if (event.step == StoryStep::Tick) duration_ = std::max(duration_, event.value);
  events_.push_back(event);
}

void Story::Resume(StoryState state) {
  states_.push_back(std::move(state));
  events_.push_back({StoryStep::Resume, 0, 0, 0, std::int64_t(states_.size()) - 1});
}

QByteArray Story::PictureHash(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QCryptographicHash hash(QCryptographicHash::Sha1);
  // The colours only: the unused top byte of RGB32 differs between a picture drawn here and the
  // same picture read from its file.
  std::vector<std::uint32_t> row(std::size_t(rgb.width()));
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
    for (std::size_t x = 0; x < row.size(); ++x) row[x] = pixels[x] & 0xFFFFFFu;
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(row.data()),
                                qsizetype(row.size() * sizeof(row[0]))));
  }
  return hash.result();
}

QByteArray Story::Encode(const QImage& endPicture) const {
  Writer w;
  w.bytes.append(PictureHash(endPicture));
  w.Var(std::uint64_t(picture_.width()));
  w.Var(std::uint64_t(picture_.height()));
  for (int y = 0; y < picture_.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(picture_.constScanLine(y));
    for (int x = 0; x < picture_.width(); ++x) {
      w.U8(unsigned(qRed(row[x])));
      w.U8(unsigned(qGreen(row[x])));
      w.U8(unsigned(qBlue(row[x])));
    }
  }
  w.Var(states_.size());
  for (const StoryState& s : states_) WriteState(w, s);
  w.Var(events_.size());
  std::int64_t lastTick = 0;
  for (const StoryEvent& e : events_) WriteEvent(w, e, lastTick);

  Writer file;
  file.bytes = Magic;
  file.U32(Version);
  QByteArray packed(qsizetype(ZSTD_compressBound(std::size_t(w.bytes.size()))), Qt::Uninitialized);
  const std::size_t size =
      ZSTD_compress(packed.data(), std::size_t(packed.size()), w.bytes.constData(),
                    std::size_t(w.bytes.size()), PackLevel);
  packed.truncate(ZSTD_isError(size) ? 0 : qsizetype(size));
  return file.bytes + packed;
}

StoryRead Story::Decode(QByteArrayView bytes) {
  if (bytes.size() < Magic.size() + 4 || !bytes.startsWith(Magic))
    return {{}, {}, Refusal("It is not a story of a board.")};
  Reader header(bytes.sliced(Magic.size(), 4));
  if (header.U32() != Version) return {{}, {}, Refusal("It is a story of another version.")};
  const QByteArrayView packed = bytes.sliced(Magic.size() + 4);
  const unsigned long long declared = ZSTD_getFrameContentSize(packed.data(), packed.size());
  if (declared == ZSTD_CONTENTSIZE_ERROR || declared == ZSTD_CONTENTSIZE_UNKNOWN)
    return {{}, {}, Refusal("Its packed contents are broken.")};
  if (declared > std::uint64_t(MaxUnpacked))
    return {{}, {}, Refusal("It unpacks to more than a story may hold.")};
  QByteArray raw(qsizetype(declared), Qt::Uninitialized);
  const std::size_t got =
      ZSTD_decompress(raw.data(), std::size_t(raw.size()), packed.data(), packed.size());
  if (ZSTD_isError(got) || got != declared)
    return {{}, {}, Refusal("Its packed contents are broken.")};

  Reader r(raw);
  StoryRead read;
  read.endHash = r.Take(HashBytes).toByteArray();
  const std::uint64_t width = r.Var(), height = r.Var();
  if (r.Failed() || width < 1 || height < 1 || width > MaxSide || height > MaxSide ||
      std::int64_t(width * height * 3) > r.Left())
    return {{}, {}, Refusal("Its picture is not whole.")};
  QImage picture(int(width), int(height), QImage::Format_RGB32);
  const QByteArrayView pixels = r.Take(qsizetype(width * height * 3));
  for (int y = 0; y < int(height); ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    const char* in = pixels.data() + qsizetype(y) * qsizetype(width) * 3;
    for (int x = 0; x < int(width); ++x, in += 3)
      row[x] = qRgb(std::uint8_t(in[0]), std::uint8_t(in[1]), std::uint8_t(in[2]));
  }
  const std::uint64_t states = r.Var();
  if (r.Failed() || states < 1 || states > MaxStates)
    return {{}, {}, Refusal("Its states are not whole.")};
  std::int64_t dustLeft = MaxDust;
  std::vector<StoryState> all(static_cast<std::size_t>(states));
  for (StoryState& s : all)
    if (!ReadState(r, s, dustLeft)) return {{}, {}, Refusal("Its states are not whole.")};
  const std::uint64_t events = r.Var();
  if (r.Failed() || std::int64_t(events) > std::min<std::int64_t>(MaxEvents, r.Left()))
    return {{}, {}, Refusal("Its events are not whole.")};
  Story story(std::move(picture), std::move(all[0]));
  story.states_.insert(story.states_.end(), std::make_move_iterator(all.begin() + 1),
                       std::make_move_iterator(all.end()));
  story.events_.reserve(std::size_t(events));
  std::int64_t lastTick = 0;
  for (std::uint64_t i = 0; i < events; ++i) {
    StoryEvent e;
    if (!ReadEvent(r, e, lastTick, int(states)))
      return {{}, {}, Refusal("Its events are not whole.")};
    story.Add(e);
  }
  if (!r.AtEnd()) return {{}, {}, Refusal("It holds more than its events.")};
  read.story = std::move(story);
  return read;
}

}  // namespace slatewick
