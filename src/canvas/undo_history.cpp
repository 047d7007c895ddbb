#include "canvas/undo_history.h"

#include <cstring>

namespace pastel {

namespace {

// Rows of a stroke are kept as they are; a change over much of the paper
// (a colour, a clear) is packed.
constexpr int kPackAbove = 64 * 1024;

}  // namespace

qint64 UndoHistory::Entry::bytes() const {
  return content.paper.shown.sizeInBytes() + pixels.size() + qint64(spans.size() * sizeof(Span));
}

qint64 UndoHistory::paperBytes() const {
  qint64 n = 0;
  for (const Stack* s : {&undo_, &redo_})
    for (const Entry& e : *s) n += e.bytes();
  return n;
}

// Keeps of the entry's paper only the rows where it differs from its newer
// neighbour; a paper of another size or kind is kept in rows of its own.
void UndoHistory::makeDelta(Entry& e, const QImage& neighbour) {
  QImage& img = e.content.paper.shown;
  if (e.delta || img.isNull() || img.depth() != 32) return;
  const bool against =
      !neighbour.isNull() && neighbour.size() == img.size() && neighbour.format() == img.format();
  e.standalone = !against;
  e.size = img.size();
  e.format = img.format();
  e.spans.clear();
  QByteArray pixels;
  const int w = img.width();
  if (!against || neighbour.cacheKey() != img.cacheKey()) {
    for (int y = 0; y < img.height(); ++y) {
      const auto* a = reinterpret_cast<const quint32*>(img.constScanLine(y));
      int x0 = 0, x1 = w;
      if (against) {
        const auto* b = reinterpret_cast<const quint32*>(neighbour.constScanLine(y));
        if (std::memcmp(a, b, size_t(w) * 4) == 0) continue;
        while (a[x0] == b[x0]) ++x0;
        while (a[x1 - 1] == b[x1 - 1]) --x1;
      }
      e.spans.push_back({y, x0, x1});
      pixels.append(reinterpret_cast<const char*>(a + x0), qsizetype(x1 - x0) * 4);
    }
  }
  e.packed = pixels.size() > kPackAbove;
  e.pixels = e.packed ? qCompress(pixels, 1) : pixels;
  e.pixels.squeeze();  // both grew in steps: keep only what they hold
  e.delta = true;
  img = QImage();
}

// The entry's paper whole again, from its newer neighbour and its rows.
void UndoHistory::makeWhole(Entry& e, const QImage& neighbour) {
  if (!e.delta) return;
  if (!e.standalone && e.spans.empty()) {
    e.content.paper.shown = neighbour;  // the same pixels, shared again
    e.delta = false;
    return;
  }
  QImage img = e.standalone ? QImage(e.size, e.format) : neighbour.copy();
  const QByteArray pixels = e.packed ? qUncompress(e.pixels) : e.pixels;
  qsizetype at = 0;
  for (const Span& s : e.spans) {
    const qsizetype n = qsizetype(s.x1 - s.x0) * 4;
    std::memcpy(img.scanLine(s.y) + s.x0 * 4, pixels.constData() + at, size_t(n));
    at += n;
  }
  e.content.paper.shown = img;
  e.delta = e.packed = false;
  e.spans.clear();
  e.pixels.clear();
}

void UndoHistory::push(Stack& s, const PosterContent& c) {
  if (!s.empty()) makeDelta(s.back(), c.paper.shown);
  Entry e;
  e.content = c;
  s.push_back(std::move(e));
}

PosterContent UndoHistory::pop(Stack& s) {
  Entry top = std::move(s.back());
  s.pop_back();
  if (!s.empty()) makeWhole(s.back(), top.content.paper.shown);
  return std::move(top.content);
}

void UndoHistory::record(const PosterContent& before) {
  redo_.clear();
  push(undo_, before);
  // The oldest lean on nothing older: they go first.
  while (int(undo_.size()) > kCapacity) undo_.pop_front();
}

std::optional<PosterContent> UndoHistory::undo(const PosterContent& current) {
  if (undo_.empty()) return std::nullopt;
  PosterContent before = pop(undo_);
  push(redo_, current);
  return before;
}

std::optional<PosterContent> UndoHistory::redo(const PosterContent& current) {
  if (redo_.empty()) return std::nullopt;
  PosterContent after = pop(redo_);
  push(undo_, current);
  return after;
}

void UndoHistory::clear() {
  undo_.clear();
  redo_.clear();
}

}  // namespace pastel
