#include "canvas/picture_strip.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <vector>

#include "canvas/poster.h"
#include "form/int16.h"
#include "platform/picture_loader.h"

namespace pastel {

namespace {

constexpr int kLastPictureIndex = 32000;

// Back to the whole cell of the table's row.
void putAtCell(Element& t, int i) {
  const Rect cell = thumbnailCell(i);
  t.left = cell.left;
  t.top = cell.top;
  t.width = cell.width;
  t.height = cell.height;
}

QString pictureFileAt(const Poster& p, int index) {
  if (index < 0 || index > kLastPictureIndex || index >= p.pictureFiles.size()) return {};
  return p.pictureFiles[index];
}

// Thumbnails show only while the strip does (the photo step); pictures that
// arrive after the child went on stay hidden.
bool stripShowing(const Poster& p) { return p.form.vscroll1.visible; }

// Decodes the thumbnails of the page starting at `first`. Each one is shown
// as soon as it is ready; the event loop runs between them, so another fill
// may start meanwhile: it cancels this one, whose pictures are for no one.
void fillThumbnails(Poster& p, int first, bool fromScroll) {
  if (p.stripFill) *p.stripFill = true;
  const auto cancel = std::make_shared<std::atomic<bool>>(false);
  p.stripFill = cancel;
  QStringList paths;
  std::vector<int> cells;
  for (int i = 0; i < kStripCells; ++i) {
    const QString path = pictureFileAt(p, first + i);
    Element& t = p.form.image1[i];
    if (fromScroll) t.visible = !path.isEmpty() && stripShowing(p);
    if (path.isEmpty()) continue;
    paths << path;
    cells.push_back(i);
  }
  if (paths.isEmpty() || !p.svc.pictures) {
    if (fromScroll)
      for (auto& t : p.form.image1) t.visible = false;
    return;
  }
  p.svc.pictures->loadEach(
      paths, kThumbnailMaxPixels,
      [&p, cancel, cells, fromScroll](int k, PictureRef pic) {
        if (*cancel || k < 0 || k >= int(cells.size()) || !pic) return;
        const int i = cells[size_t(k)];
        Element& t = p.form.image1[i];
        if (fitThumbnail(t, i, *pic)) {
          t.picture = std::move(pic);
          ++p.thumbnailCount;
          t.visible = stripShowing(p);
        } else if (fromScroll) {
          t.visible = false;
        }
        yieldToEvents(p);
      },
      cancel);
}

// The photo for a file: as decoded for hovering, or what a slot showing
// that file holds (the strip's picture while its photo is on the way).
// Hovering repeats on every mouse move: a file is asked for once a page.
PictureRef photoPictureFor(Poster& p, const QString& path) {
  const auto known = p.stripPhotos.find(path);
  if (known != p.stripPhotos.end() && known->second) return known->second;
  for (int k = 0; k <= kOverflowSlot; ++k) {
    const PictureRef& held = p.form.image3[size_t(k)].picture;
    if (held && !held->broken && p.photoFiles[size_t(k)] == path) return held;
  }
  return nullptr;
}

int cellShowing(const Poster& p, const QString& path) {
  for (int i = 0; i < kStripCells; ++i)
    if (pictureFileAt(p, i + p.form.vscroll1.scroll.value) == path) return i;
  return -1;
}

// The photo decoded for hovering has come: the slots showing the strip's
// picture of that file take it. A file that cannot be decoded shows the mark
// in its cell, and its photo goes back off the poster.
void photoArrived(Poster& p, const QString& path, const PictureRef& pic) {
  if (!pic) return;
  const int i = cellShowing(p, path);
  if (i >= 0) {
    p.stripPhotos[path] = pic;
    Element& t = p.form.image1[size_t(i)];
    if (pic->broken) {
      fitThumbnail(t, i, *pic);
      t.picture = pic;
    }
  }
  for (int k = 0; k <= kOverflowSlot; ++k) {
    Element& slot = p.form.image3[size_t(k)];
    if (p.photoFiles[size_t(k)] != path || !slot.picture || slot.picture == pic) continue;
    // A photo decoded already is never smaller than the strip's picture.
    if (!pic->broken) {
      if (slot.picture->image.width() <= pic->image.width()) slot.picture = pic;
      continue;
    }
    if (k < kSlots) parkPhoto(p, k, true);
    slot.visible = false;
    slot.picture = nullptr;
    p.photoFiles[size_t(k)].clear();
  }
}

void askForPhoto(Poster& p, const QString& path) {
  if (!p.svc.pictures || p.stripPhotos.count(path)) return;
  p.stripPhotos[path] = nullptr;
  std::weak_ptr<int> alive = p.lifetime;
  p.svc.pictures->loadLater(path, kPhotoMaxPixels, [&p, alive, path](PictureRef pic) {
    if (alive.expired()) return;
    if (p.svc.loop)
      p.svc.loop->whenIdle([&p, alive, path, pic] {
        if (!alive.expired()) photoArrived(p, path, pic);
      });
    else
      photoArrived(p, path, pic);
  });
}

}  // namespace

bool fitThumbnail(Element& t, int i, const Picture& pic) {
  putAtCell(t, i);
  // A broken picture keeps the whole cell, so the mark shows which file failed.
  if (pic.broken) return true;
  const int w = hiMetricToTwips(pic.widthHiMetric);
  const int h = hiMetricToTwips(pic.heightHiMetric);
  if (w <= 0 || h <= 0) return false;
  // Computed in double: a very tall, thin picture must not overflow 16 bits.
  const Rect cell = thumbnailCell(i);
  const double fittedHeight = std::nearbyint(double(h) * cell.width / w);
  t.height = float(fittedHeight);
  if (fittedHeight > cell.height) {
    t.width = float(cell.width * cell.height / fittedHeight);
    t.height = cell.height;
  }
  t.top = cell.top + (cell.height - t.height) / 2;
  t.left = cell.left + (cell.width - t.width) / 2;
  return true;
}

void loadPictureStrip(Poster& p, const QStringList& fileListNames) {
  p.pictureFiles.clear();
  for (const QString& name : fileListNames) {
    if (name.isEmpty() || p.pictureFiles.size() > kLastPictureIndex) break;
    p.pictureFiles << p.pictureFolderPath + name;
  }
  const int n = int(p.pictureFiles.size());
  ScrollRange& bar = p.form.vscroll1.scroll;
  bar.min = 0;
  bar.max = ((n - 1) / kStripCells) * kStripCells;  // truncates toward zero: 0 for n = 0
  bar.value = 0;
  bar.smallChange = 5;
  bar.largeChange = kStripCells;

  for (int i = 0; i < kStripCells; ++i) {
    Element& t = p.form.image1[size_t(i)];
    t.picture = nullptr;
    t.visible = false;
    putAtCell(t, i);
  }
  // Done before decoding so that no photo floats over the new strip while
  // its pictures arrive. The OverflowSlot is always free.
  for (int k = 0; k <= kOverflowSlot; ++k)
    if (!isPlaced(p.form.image3[size_t(k)])) p.form.image3[size_t(k)].visible = false;
  p.thumbnailCount = 0;
  p.stripPhotos.clear();
  fillThumbnails(p, 0, false);
}

void scrollPictureStrip(Poster& p, int value) {
  ScrollRange& bar = p.form.vscroll1.scroll;
  bar.value = std::clamp(value, bar.min, std::max(bar.min, bar.max));
  p.thumbnailCount = 0;
  p.stripPhotos.clear();
  for (int i = 0; i < kStripCells; ++i) {
    Element& t = p.form.image1[size_t(i)];
    putAtCell(t, i);
    t.picture = nullptr;  // no old picture stretched while the new one decodes
  }
  for (int k = 0; k <= kOverflowSlot; ++k)
    if (!isPlaced(p.form.image3[size_t(k)])) p.form.image3[size_t(k)].visible = false;
  fillThumbnails(p, p.form.vscroll1.scroll.value, true);
}

int floatPhotoSlot(Poster& p, int i, float x, float y) {
  if (i < 0 || i >= kStripCells) return -1;
  const Element& t = p.form.image1[size_t(i)];
  // A hidden, broken or empty cell has nothing to pick up.
  if (!t.visible || !t.picture || t.picture->broken) return -1;
  const QString path = pictureFileAt(p, i + p.form.vscroll1.scroll.value);
  if (path.isEmpty()) return -1;
  // Shown at once with the strip's picture; the photo follows from the loader.
  PictureRef pic = photoPictureFor(p, path);
  if (pic && pic->broken) return -1;
  const bool waiting = !pic;
  if (waiting) pic = t.picture;

  p.selectionActive = 1;
  const int k = firstFreePhotoSlot(p);
  Element& slot = p.form.image3[size_t(k)];
  if (k < kSlots) slot.visible = false;
  p.grabOffsetX = toInt16(x).value_or(0);
  p.grabOffsetY = toInt16(y).value_or(0);
  slot.top = t.top;
  slot.left = t.left;
  slot.height = t.height;
  slot.width = t.width;
  slot.picture = std::move(pic);
  p.photoFiles[size_t(k)] = path;
  slot.visible = true;
  if (waiting) askForPhoto(p, path);
  return slot.visible ? k : -1;
}

}  // namespace pastel
