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
  for (int i = 0; i < 10; ++i) {
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

// The photo picture for a file: shared with a slot that already shows that
// file (hovering repeats on every mouse move), else decoded at photo size.
PictureRef photoPictureFor(Poster& p, const QString& path) {
  for (int k = 0; k <= 10; ++k) {
    const PictureRef& held = p.form.image3[size_t(k)].picture;
    if (held && !held->broken && p.photoFiles[size_t(k)] == path) return held;
  }
  if (!p.svc.pictures) return nullptr;
  return p.svc.pictures->load(path, kPhotoMaxPixels);
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
  bar.max = ((n - 1) / 10) * 10;  // truncates toward zero: 0 for n = 0
  bar.value = 0;
  bar.smallChange = 5;
  bar.largeChange = 10;

  for (int i = 0; i < 10; ++i) {
    Element& t = p.form.image1[size_t(i)];
    t.picture = nullptr;
    t.visible = false;
    putAtCell(t, i);
  }
  // Done before decoding so that no photo floats over the new strip while
  // its pictures arrive. The OverflowSlot is always free.
  for (int k = 0; k <= 10; ++k)
    if (!isPlaced(p.form.image3[size_t(k)])) p.form.image3[size_t(k)].visible = false;
  p.thumbnailCount = 0;
  fillThumbnails(p, 0, false);
}

void scrollPictureStrip(Poster& p, int value) {
  ScrollRange& bar = p.form.vscroll1.scroll;
  bar.value = std::clamp(value, bar.min, std::max(bar.min, bar.max));
  p.thumbnailCount = 0;
  for (int i = 0; i < 10; ++i) {
    Element& t = p.form.image1[size_t(i)];
    putAtCell(t, i);
    t.picture = nullptr;  // no old picture stretched while the new one decodes
  }
  for (int k = 0; k <= 10; ++k)
    if (!isPlaced(p.form.image3[size_t(k)])) p.form.image3[size_t(k)].visible = false;
  fillThumbnails(p, p.form.vscroll1.scroll.value, true);
}

int floatPhotoSlot(Poster& p, int i, float x, float y) {
  if (i < 0 || i > 9) return -1;
  const Element& t = p.form.image1[size_t(i)];
  // A hidden, broken or empty cell has nothing to pick up.
  if (!t.visible || !t.picture || t.picture->broken) return -1;
  const QString path = pictureFileAt(p, i + p.form.vscroll1.scroll.value);
  if (path.isEmpty()) return -1;
  PictureRef pic = photoPictureFor(p, path);
  if (!pic || pic->broken) return -1;

  p.selectionActive = 1;
  const int k = firstFreePhotoSlot(p);
  Element& slot = p.form.image3[size_t(k)];
  if (k < 10) slot.visible = false;
  p.grabOffsetX = toInt16(x).value_or(0);
  p.grabOffsetY = toInt16(y).value_or(0);
  slot.top = t.top;
  slot.left = t.left;
  slot.height = t.height;
  slot.width = t.width;
  slot.picture = std::move(pic);
  p.photoFiles[size_t(k)] = path;
  slot.visible = true;
  return k;
}

}  // namespace pastel
