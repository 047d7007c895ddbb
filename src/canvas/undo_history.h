#pragma once
#include <QByteArray>
#include <QImage>
#include <deque>
#include <optional>
#include <vector>

#include "canvas/poster_content.h"

namespace pastel {

// The changes of one step, to take back and bring again. Entries share
// their pictures with the poster; of the paper's pixels only the newest
// entry of each direction is held whole, every other one as the rows where
// it differs from its neighbour, so fifty strokes cost little more than
// the strokes themselves.
class UndoHistory {
 public:
  static constexpr int kCapacity = 50;

  // After a change has completed, with the content as it was before it.
  // Whatever could be redone is gone.
  void record(const PosterContent& before);
  // The content before the last change; `current` is kept for redo.
  // Nothing when there is nothing to take back.
  std::optional<PosterContent> undo(const PosterContent& current);
  // The content the last undo took back; `current` is kept for undo.
  std::optional<PosterContent> redo(const PosterContent& current);
  // A new step starts a new history.
  void clear();

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  int undoCount() const { return int(undo_.size()); }
  int redoCount() const { return int(redo_.size()); }
  // The paper pixels the history holds, whole or in rows.
  qint64 paperBytes() const;

 private:
  // One row's pixels that differ from the neighbour, [x0, x1).
  struct Span {
    int y, x0, x1;
  };
  struct Entry {
    PosterContent content;  // paper.shown is null while `delta` holds it
    bool delta = false;
    bool standalone = false;  // rows of its own, not against the neighbour
    QSize size;
    QImage::Format format = QImage::Format_Invalid;
    std::vector<Span> spans;
    QByteArray pixels;  // the spans' pixels one after the other
    bool packed = false;
    qint64 bytes() const;
  };
  using Stack = std::deque<Entry>;

  static void push(Stack& s, const PosterContent& c);
  static PosterContent pop(Stack& s);
  static void makeDelta(Entry& e, const QImage& neighbour);
  static void makeWhole(Entry& e, const QImage& neighbour);

  Stack undo_, redo_;
};

}  // namespace pastel
