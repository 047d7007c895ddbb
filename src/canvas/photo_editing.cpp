#include "canvas/photo_editing.h"

#include "canvas/poster.h"
#include "form/int16.h"
#include "platform/dialogs.h"

namespace pastel {

namespace {

constexpr double kEnlargement = 2.24;
constexpr float kEnlargeBelowHeight = 1345, kEnlargeBelowWidth = 1790;

void showTooManyPhotos(Poster& p) {
  if (!p.svc.dialogs) return;
  p.svc.dialogs->message({QStringLiteral("がぞうは１０まいまでにしてください"),
                          QStringLiteral("入力エラー"), MsgIcon::Exclamation});
}

void scaleSelectedPhoto(Poster& p, double factor) {
  if (p.selectionActive == 0) return;
  if (p.selectedKind != SelectedKind::Photo) return;
  if (p.selectedIndex < 0 || p.selectedIndex > kOverflowSlot) return;
  Element& e = p.form.image3[size_t(p.selectedIndex)];
  const auto h = toInt16(e.height), w = toInt16(e.width);
  if (!h || !w) return;
  const double newHeight = *h * factor, newWidth = *w * factor;
  // Sizes are 16-bit twips everywhere they are read again: refuse to leave
  // that range rather than let the next step overflow.
  if (!toInt16(newHeight) || !toInt16(newWidth)) return;
  e.height = float(newHeight);
  e.width = float(newWidth);
}

}  // namespace

PhotoPress pressPhoto(Poster& p, int i) {
  if (i < 0 || i > kOverflowSlot) return PhotoPress::Selected;
  MainForm& f = p.form;
  if (i == kOverflowSlot) {
    // Only slot 0 is looked at: the usual way a slot comes free again.
    if (!(f.image3[0].left > kPlacementBoundary)) {
      showTooManyPhotos(p);
      return PhotoPress::TooManyPhotos;
    }
    f.image3[kOverflowSlot].visible = false;
    return PhotoPress::OverflowWithdrawn;
  }
  p.selectedKind = SelectedKind::Photo;
  clearFrames(p);
  bringPhotoToTop(p, i);  // also in front of every other photo
  f.image3[kOverflowSlot].visible = false;
  f.image3[size_t(i)].borderStyle = 1;
  return PhotoPress::Selected;
}

void movePhoto(Poster& p, int i, bool buttonHeld, float x, float y) {
  if (!buttonHeld) return;
  // The OverflowSlot is never dragged: it must never reach the paper.
  if (i < 0 || i >= kOverflowSlot) return;
  Element& e = p.form.image3[size_t(i)];
  const auto t = toInt16(e.top), l = toInt16(e.left), h = toInt16(e.height), w = toInt16(e.width);
  if (!t || !l || !h || !w) return;
  const double dy = double(y) - p.grabOffsetY;
  const double dx = double(x) - p.grabOffsetX;
  double top = *t, left = *l;
  bool moveTop = false, moveLeft = false;
  if (dy < 0 && *t > 0) moveTop = true, top = *t + dy;
  if (dx < 0 && *l > 0) moveLeft = true, left = *l + dx;
  if (dy > 0 && *t < p.form.height - *h) moveTop = true, top = *t + dy;
  if (dx > 0 && *l < p.form.width - *w) moveLeft = true, left = *l + dx;
  // A step that would leave the 16-bit range is refused as a whole.
  if (!toInt16(top) || !toInt16(left)) return;
  if (moveTop) e.top = float(top);
  if (moveLeft) e.left = float(left);

  if (e.left < kPlacementBoundary) {
    if (p.photoEnlarged[size_t(i)] != 1 && e.height < kEnlargeBelowHeight &&
        e.width < kEnlargeBelowWidth) {
      e.height = float(e.height * kEnlargement);
      e.width = float(e.width * kEnlargement);
    }
    p.photoEnlarged[size_t(i)] = 1;
  } else {
    p.photoEnlarged[size_t(i)] = 0;
  }
  p.selectedIndex = std::int16_t(i);
}

void releasePhoto(Poster& p, int i) {
  if (i < 0 || i > kOverflowSlot) return;
  Element& e = p.form.image3[size_t(i)];
  if (!isPlaced(e)) e.visible = false;
  p.selectedIndex = std::int16_t(i);
}

void makePhotoSmaller(Poster& p) { scaleSelectedPhoto(p, 0.9); }
void makePhotoBigger(Poster& p) { scaleSelectedPhoto(p, 1.1); }

}  // namespace pastel
