#pragma once
#include <QImage>
#include <QString>
#include <vector>

namespace slatewick {

// A named picture made of equal frames side by side; black is transparent.
struct TPictureCollectionItem {
  QString Name;
  QImage Picture;  // RGB32
  int PatternWidth = 0;
  int PatternHeight = 0;
  int PatternCount() const { return PatternWidth > 0 ? Picture.width() / PatternWidth : 0; }
};

// The program's sprite list.
class TDXImageList {
 public:
  void Add(TPictureCollectionItem item) { items_.push_back(std::move(item)); }
  // The item of that name, or nullptr.
  const TPictureCollectionItem* Find(const QString& name) const;

 private:
  std::vector<TPictureCollectionItem> items_;
};

// The laid chalk as the board shows it: six 52 x 11 frames of chalk sticks seen from the side.
extern const QString LaidChalkSpriteName;  // "チョーク横"
TPictureCollectionItem MakeLaidChalkSprite();

// Draws frame `frame` of the named sprite onto target, rotated about the point (x, y) where
// the picture's (centerX, centerY) fraction lands. angle is in 256ths of a turn (mod 256),
// positive clockwise on screen: a pixel at offset (dx, dy) from the centre lands at
// (x + dx cos a - dy sin a, y + dx sin a + dy cos a). Black is left out. A frame outside
// 0..count-1 draws nothing; an unknown name throws AppError.
void DrawSpriteRotated(QImage& target, const TDXImageList& list, const QString& name, int x, int y,
                       int width, int height, int frame, double centerX, double centerY, int angle);

}  // namespace slatewick
