#include <gtest/gtest.h>

#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "canvas/lines.h"
#include "capture/poster_renderer.h"
#include "support/sample_poster.h"
#include "view_support.h"

namespace pastel {
namespace {

const QRect kPaper(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx, PaperSurface::kHeightPx);

// Pixels of a and b (same size) whose channels differ by more than `by`.
int differing(const QImage& a, const QImage& b, int by) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                    std::abs(qBlue(p) - qBlue(q))}) > by)
        ++n;
    }
  return n;
}

// A picture whose left half is transparent.
PictureRef halfTransparent() {
  QImage img(200, 100, QImage::Format_ARGB32);
  img.fill(QColor(0, 0x80, 0));
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) img.setPixel(x, y, qRgba(0, 0, 0, 0));
  return pictureFromImage(img);
}

// A black diagonal stroke, drawn as the mouse would, from (x0, y0) in paper
// pixels, one pixel right for two down, n times.
void drawDiagonal(Poster& p, int x0, int y0, int n) {
  p.form.command13.backColor = rgb(0, 0, 0);
  setBrushSize(p, 3);
  penPress(p, p.form.paper, x0 * 15.0f, y0 * 15.0f);
  for (int k = 1; k <= n; ++k) penMove(p, p.form.paper, (x0 + k) * 15.0f, (y0 + 2 * k) * 15.0f);
  penRelease(p);
}

// How far the stroke's left edge, found to a fraction of a pixel row by
// row, strays from a straight line (root mean square, device pixels): a
// stroke enlarged from the paper's pixels keeps their stairs.
double edgeStray(const QImage& img, int top, int bottom) {
  std::vector<double> ys, xs;
  for (int y = top; y < bottom; ++y) {
    const int paper = qGray(img.pixel(0, y)), mid = paper / 2;
    int x = 1;
    while (x < img.width() && qGray(img.pixel(x, y)) > mid) ++x;
    if (x == img.width()) continue;
    const double before = qGray(img.pixel(x - 1, y)), at = qGray(img.pixel(x, y));
    ys.push_back(y);
    xs.push_back(x - 1 + (before - mid) / std::max(1.0, before - at));
  }
  const double n = double(ys.size());
  double sy = 0, sx = 0, syy = 0, sxy = 0;
  for (size_t i = 0; i < ys.size(); ++i)
    sy += ys[i], sx += xs[i], syy += ys[i] * ys[i], sxy += ys[i] * xs[i];
  const double slope = (n * sxy - sy * sx) / (n * syy - sy * sy), base = (sx - slope * sy) / n;
  double sq = 0;
  for (size_t i = 0; i < ys.size(); ++i) sq += std::pow(xs[i] - (base + slope * ys[i]), 2);
  return std::sqrt(sq / n);
}

TEST(PaperRenderView, TheRendererDrawsWhatTheWindowShowsAndSharperAt2x) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  MainWindowView& w = fx.app->window();
  // Step 1: a pink paper and a diagonal stroke.
  w.run([&] {
    p.form.paper.setBackColor(rgb(0xff, 0xc0, 0xd0));
    drawDiagonal(p, 300, 20, 150);
  });
  const QImage step1 = test::shownPaper(w, 1);
  EXPECT_EQ(differing(renderScene(sceneOf(p.form)), step1, 0), 0);

  // At 2x the stroke is drawn at the device's pixels: its edge is straight
  // to a fraction of a device pixel, not in stairs of two.
  const QImage twice = test::shownPaper(w, 2);
  const double stray = edgeStray(twice.copy(500, 0, 500, 998), 80, 560);
  EXPECT_LT(stray, 0.25);

  // Step 4 with photos and words over the grabbed paper, a photo half
  // transparent over the stroke, one word framed.
  w.run([&] {
    nextFrom1(p);
    nextFrom2(p);
    for (int i = 0; i < 4; ++i) {
      Element& e = p.form.image3[size_t(i)];
      e.left = 300 + 1300.0f * float(i);
      e.top = 8000;
      e.width = 1785;
      e.height = 1340;
      e.picture = test::samplePhoto(i);
      e.visible = true;
      Element& word = p.form.text1[size_t(i)];
      word.caption = QStringLiteral("なつ やすみ の うみ");
      word.left = 400 + 2600.0f * float(i);
      word.top = 3000;
      word.fontSize = 14 + 2.0f * float(i);
    }
    Element& glass = p.form.image3[9];
    glass.picture = halfTransparent();
    glass.visible = true;
    glass.left = kPaperLeft + 250 * 15.0f;
    glass.top = kPaperTop + 60 * 15.0f;
    glass.width = 200 * 15.0f;
    glass.height = 100 * 15.0f;
    nextFrom3(p);
    p.form.text1[2].borderStyle = 1;
  });
  const QImage shown = test::shownPaper(w, 1);
  const QImage drawn = renderScene(sceneOf(p.form));
  // Paper, photos, words and frame to the pixel.
  EXPECT_EQ(differing(drawn, shown, 0), 0);
  // Through the transparent half: the paper and its stroke.
  EXPECT_EQ(drawn.pixelColor(260, 140), QColor(0xff, 0xc0, 0xd0));
  EXPECT_EQ(drawn.pixelColor(330, 80), QColor(0, 0, 0));
  EXPECT_EQ(drawn.pixelColor(400, 100), QColor(0, 0x80, 0));

  // At 2x, every part drawn at the device's pixels, the same poster.
  const QImage fine = test::shownPaper(w, 2);
  const QImage down = fine.scaled(kPaper.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LT(differing(down, shown, 48), kPaper.width() * kPaper.height() / 100);
  EXPECT_EQ(fine.pixelColor(2 * 260, 2 * 140), QColor(0xff, 0xc0, 0xd0));
  EXPECT_EQ(fine.pixelColor(2 * 400, 2 * 100), QColor(0, 0x80, 0));
}

}  // namespace
}  // namespace pastel
