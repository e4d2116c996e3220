#pragma once
#include <QImage>
#include <vector>

#include "board/FrameTiles.h"
#include "platform/Colour.h"
#include "platform/Random.h"
#include "platform/Rect.h"

namespace slatewick {

// One particle of chalk dust: a pixel of the window and the chalk whose colour it has.
struct DustParticle {
  int x = 0, y = 0;
  int chalk = 0;  // index of ChalkColours
  bool operator==(const DustParticle&) const = default;
};

// The chalk dust in flight, in order of creation: it falls from the chalk, drifts, and vanishes
// into the tray. The list owns its particles; one removed is gone.
class DustList {
 public:
  int Count() const { return int(particles_.size()); }
  const std::vector<DustParticle>& Particles() const { return particles_; }
  // Adds `count` particles of chalk `chalk` at (x, y), after the others.
  void Drop(int count, int x, int y, int chalk);
  void Add(const DustParticle& particle) { particles_.push_back(particle); }
  void Clear() { particles_.clear(); }
  void Replace(std::vector<DustParticle> particles) { particles_ = std::move(particles); }

  // One frame step's motion: every particle in list order draws random(5) and then random(4)
  // when that was 3 or more (it falls 4 to 7 pixels), else random(3) (it drifts a pixel left,
  // not at all, or right). The first particle then below the tray's first row (y > trayTop) is
  // removed and the step ends there: the particles after it neither move nor draw.
  void Move(int trayTop, Random& random);
  // Sets each particle's pixel of the frame (those inside it) to its chalk's colour.
  void Draw(QImage& frame) const;
  // Marks the tiles of the frame that the particles lie in.
  void Mark(FrameTiles& tiles) const;

 private:
  std::vector<DustParticle> particles_;
};

}  // namespace slatewick
