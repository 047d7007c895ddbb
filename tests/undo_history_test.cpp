#include "canvas/undo_history.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QPainter>
#include <vector>

#include "form/main_form.h"

namespace pastel {
namespace {

QImage solidPaper(QColor colour) {
  QImage img(PaperSurface::kWidthPx, PaperSurface::kHeightPx, QImage::Format_RGB32);
  img.fill(colour);
  return img;
}

// Press to release: a band drawn on the paper, which gets pixels of its own.
PosterContent withStroke(PosterContent c, int k) {
  QPainter p(&c.paper.shown);
  p.setPen(QPen(QColor::fromHsv((k * 47) % 360, 255, 200), 11, Qt::SolidLine, Qt::RoundCap));
  const int x = (k * 97) % 600, y = (k * 61) % 420;
  p.drawLine(x, y, x + 60, y + 30 + k % 7);
  return c;
}

QByteArray hashOf(const QImage& img) {
  return QCryptographicHash::hash(
      QByteArrayView(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()),
      QCryptographicHash::Md5);
}

// Each kind of change taken back and brought again, pictures shared and
// the paper pixel for pixel; a new change drops what could be redone.
TEST(UndoHistory, UndoAndRedoAcrossEveryKindOfChange) {
  std::vector<PosterContent> states(1);  // a fresh poster: nothing drawn yet
  auto change = [&states](auto&& edit) {
    PosterContent next = states.back();
    edit(next);
    states.push_back(next);
  };
  auto photo =
      std::make_shared<Picture>(Picture{solidPaper(Qt::blue), 1, 1, false, "/p/a.jpg", {}});
  change([](PosterContent& c) {  // a paper colour
    c.paper.colour = rgb(255, 255, 192);
    c.paperColourCode = "#ffffc0";
    c.paper.shown = solidPaper(QColor(255, 255, 192));
  });
  change([](PosterContent& c) { c = withStroke(c, 1); });
  change([&photo](PosterContent& c) {  // a photo placed
    c.photos[3] = {"/p/a.jpg", 2000, 3000, 1785, 1340, photo, 1};
  });
  change([](PosterContent& c) { c.photos[3].left += 450; });  // moved
  change([](PosterContent& c) {                               // a word edited and coloured
    c.words[2].text = "はなび";
    c.words[2].textColour = rgb(192, 0, 0);
    c.words[2].textCode = "#c00000";
    c.wordStackOrder = {0, 1, 3, 4, 5, 6, 7, 8, 9, 2};
  });
  change([](PosterContent& c) { c = withStroke(c, 2); });
  change([](PosterContent& c) {  // a clear: the lines go
    c.paper.shown = solidPaper(QColor(255, 255, 192));
  });
  change([](PosterContent& c) {  // an opened poster: a paper picture, nothing drawn
    c.paper.picture = pictureFromImage(solidPaper(Qt::green));
    c.paper.shown = QImage();
  });

  UndoHistory h;
  for (size_t k = 1; k < states.size(); ++k) h.record(states[k - 1]);
  PosterContent current = states.back();
  for (size_t k = states.size() - 1; k > 0; --k) {
    SCOPED_TRACE(k);
    const std::optional<PosterContent> back = h.undo(current);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, states[k - 1]);  // pictures compare as the same objects
    current = *back;
  }
  EXPECT_FALSE(h.undo(current));
  for (size_t k = 1; k < states.size(); ++k) {
    SCOPED_TRACE(k);
    const std::optional<PosterContent> again = h.redo(current);
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, states[k]);
    current = *again;
  }
  EXPECT_FALSE(h.redo(current));
  EXPECT_EQ(h.undo(current)->photos[3].picture, photo);

  // Back two, then a new change: the two cannot come back.
  current = *h.undo(states[7]);
  ASSERT_EQ(current, states[6]);
  h.record(current);
  current = withStroke(current, 9);
  EXPECT_FALSE(h.canRedo());
  EXPECT_EQ(*h.undo(current), states[6]);
  EXPECT_EQ(*h.undo(states[6]), states[5]);

  h.clear();  // a new step
  EXPECT_FALSE(h.canUndo());
  EXPECT_FALSE(h.canRedo());
  EXPECT_FALSE(h.undo(current));
}

// Sixty strokes: the last fifty come back in order, pixel for pixel, and
// the history holds little more than the strokes' own rows.
TEST(UndoHistory, FiftyStrokesHeldCompactly) {
  PosterContent c;
  c.paper.shown = solidPaper(Qt::white);
  std::vector<QByteArray> paperAt{hashOf(c.paper.shown)};
  UndoHistory h;
  for (int k = 1; k <= 60; ++k) {
    h.record(c);
    c = withStroke(c, k);
    paperAt.push_back(hashOf(c.paper.shown));
  }
  EXPECT_EQ(h.undoCount(), UndoHistory::kCapacity);
  const qint64 paperBytes = qint64(PaperSurface::kWidthPx) * PaperSurface::kHeightPx * 4;
  EXPECT_LT(h.paperBytes(), 2 * paperBytes);
  for (int k = 59; k >= 10; --k) {
    const std::optional<PosterContent> back = h.undo(c);
    ASSERT_TRUE(back) << k;
    ASSERT_EQ(hashOf(back->paper.shown), paperAt[size_t(k)]) << k;
    c = *back;
  }
  EXPECT_FALSE(h.canUndo());
  EXPECT_EQ(h.redoCount(), UndoHistory::kCapacity);
  EXPECT_LT(h.paperBytes(), 2 * paperBytes);
  for (int k = 11; k <= 60; ++k) {
    c = *h.redo(c);
    ASSERT_EQ(hashOf(c.paper.shown), paperAt[size_t(k)]) << k;
  }
}

}  // namespace
}  // namespace pastel
