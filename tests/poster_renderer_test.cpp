#include "capture/poster_renderer.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QProcess>

#include "canvas/poster_content.h"
#include "capture/print.h"
#include "steps/wizard.h"
#include "support/sample_poster.h"
#include "test_support.h"

namespace pastel {
namespace {

const QColor kBlue(0, 0, 255);

// The surface drawn at twice its pixels.
QImage atTwice(const PaperSurface& s) {
  QImage img(2 * PaperSurface::kWidthPx, 2 * PaperSurface::kHeightPx, QImage::Format_RGB32);
  img.setDevicePixelRatio(2);
  QPainter p(&img);
  drawSurface(p, s, QRectF(0, 0, PaperSurface::kWidthPx, PaperSurface::kHeightPx));
  p.end();
  img.setDevicePixelRatio(1);
  return img;
}

// The lines are kept as marks wherever the content goes, so the paper can
// be drawn at any resolution; one read from pixels alone keeps its pixels.
TEST(PaperMarks, FollowTheContentThroughUndoAndStayTheirOwn) {
  test::PosterFixture fx;
  PaperSurface& paper = fx.poster.form.paper;
  paper.paintDot(100, 100, 5, rgb(0, 0, 255));
  const PosterContent one = takePosterContent(fx.poster);
  paper.paintSegment({100, 100}, {200, 100}, 5, rgb(0, 0, 255));
  const PosterContent two = takePosterContent(fx.poster);
  EXPECT_EQ(one.paper.marks.size(), 1u);
  EXPECT_EQ(two.paper.marks.size(), 2u);

  // Back to the first, then on in another direction: the second keeps its own.
  applyPosterContent(fx.poster, one);
  EXPECT_NE(atTwice(paper).pixelColor(300, 200), kBlue);
  paper.paintSegment({100, 100}, {100, 200}, 5, rgb(0, 0, 255));
  EXPECT_EQ(two.paper.marks[1].to, QPoint(200, 100));
  EXPECT_EQ(paper.marks()[1].to, QPoint(100, 200));
  const QImage sharp = atTwice(paper);
  EXPECT_EQ(sharp.pixelColor(200, 300), kBlue);
  EXPECT_NE(sharp.pixelColor(300, 200), kBlue);

  // Pixels alone (a kept poster read back): drawn from its pixels.
  PosterContent read = two;
  read.paper.marks = PaperMarks();
  applyPosterContent(fx.poster, read);
  EXPECT_FALSE(paper.marks().known());
  EXPECT_EQ(atTwice(paper).pixelColor(300, 200), kBlue);
}

// The largest move of a dark stroke's left edge from one row to the next.
int largestEdgeJump(const QImage& img) {
  int last = -1, jump = 0, rows = 0;
  std::vector<int> edges;
  for (int y = 0; y < img.height(); ++y) {
    int x = 0;
    while (x < img.width() && qGray(img.pixel(x, y)) >= 128) ++x;
    if (x < img.width()) edges.push_back(x);
  }
  // Away from the stroke's round ends.
  for (size_t i = 30; i + 30 < edges.size(); ++i, ++rows) {
    if (last >= 0) jump = std::max(jump, std::abs(edges[i] - last));
    last = edges[i];
  }
  return rows > 100 ? jump : 1000;
}

// A printed poster draws its lines at the printer's resolution, and a
// poster's content draws as the window shows it (a thumbnail).
TEST(PosterRenderer, LinesPrintAtThePrintersResolutionAndContentDrawsAsShown) {
  {
    test::PosterFixture fx;
    RendererCapture capture(fx.poster.form);
    fx.poster.svc.capture = &capture;
    test::makeSamplePoster(fx.poster);
    EXPECT_EQ(renderScene(sceneOf(takePosterContent(fx.poster))),
              renderScene(sceneOf(fx.poster.form)));
  }
  test::PosterFixture fx;
  Poster& p = fx.poster;
  RendererCapture capture(p.form);
  PdfPrinter printer(fx.dir.filePath("page.pdf"));
  p.svc.capture = &capture;
  p.svc.printer = &printer;
  p.form.paper.setBackColor(rgb(0xff, 0xc0, 0xd0));
  QPoint at(300, 40);
  p.form.paper.paintDot(at.x(), at.y(), 3, kBlack);
  for (int k = 0; k < 150; ++k, at += QPoint(1, 2))
    p.form.paper.paintSegment(at, at + QPoint(1, 2), 3, kBlack);
  nextFrom1(p);
  nextFrom2(p);
  nextFrom3(p);
  printPoster(p);
  ASSERT_TRUE(fx.dialogs.messages.empty());
  const QString png = fx.dir.filePath("page");
  QProcess::execute("pdftoppm",
                    {"-r", "300", "-png", "-singlefile", fx.dir.filePath("page.pdf"), png});
  const QImage page(png + ".png");
  ASSERT_FALSE(page.isNull());
  // One paper pixel is about 4.6 printed ones: from the paper's pixels the
  // edge would jump 4 or 5 columns at once.
  EXPECT_LE(largestEdgeJump(page), 2);
}

}  // namespace
}  // namespace pastel
