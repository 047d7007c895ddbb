#include "capture/wall_print.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <set>

#include "canvas/picture_strip.h"
#include "capture/poster_renderer.h"
#include "capture/wall_sheets.h"
#include "platform/file_picture_loader.h"
#include "support/sample_poster.h"
#include "test_support.h"

namespace pastel {
namespace {

const QSizeF kPaper(707, 499);

QString run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Mean difference a channel, of the pictures averaged over 5 x 5 pixels:
// a PDF's rasterizer and Qt's scaling place fine stripes a pixel apart.
double meanDiff(QImage a, QImage b) {
  if (a.size() != b.size() || a.isNull()) return 255;
  a = a.scaled(a.size() / 5, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  b = b.scaled(b.size() / 5, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  long long sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  return double(sum) / (3.0 * a.width() * a.height());
}

// The same places of two pictures, given in fractions of a pixel, compared
// at the best whole-pixel shift of the first: rounding puts them up to a
// pixel apart. Inset by a pixel, where a clip's edge is antialiased.
double nearestDiff(const QImage& a, const QRectF& inA, const QImage& b, const QRectF& inB,
                   int shifts = 1) {
  const QRect rb = inB.toRect().adjusted(1, 1, -1, -1);
  const QPoint at = inA.toRect().topLeft() + QPoint(1, 1);
  double best = 255;
  for (int dy = -shifts; dy <= shifts; ++dy)
    for (int dx = -shifts; dx <= shifts; ++dx)
      best = std::min(best, meanDiff(a.copy(QRect(at + QPoint(dx, dy), rb.size())), b.copy(rb)));
  return best;
}

QRect scaled(const QRectF& r, double k) {
  return QRectF(r.topLeft() * k, r.size() * k).toAlignedRect();
}

// Prints to a PDF file whose writer refuses its third page.
class ThirdPageFails : public Printer {
 public:
  struct Writer : QPdfWriter {
    using QPdfWriter::QPdfWriter;
    bool newPage() override { return ++pages < 2 && QPdfWriter::newPage(); }
    int pages = 0;
  };
  explicit ThirdPageFails(const QString& path) : writer(path) {}
  PrinterSetup showSetupDialog() override { return PrinterSetup::Accepted; }
  QPagedPaintDevice* device() override { return &writer; }
  Writer writer;
};

struct WallFixture : test::PosterFixture {
  WallFixture() : capture(poster.form), printer(dir.filePath("wall.pdf")) {
    poster.svc.capture = &capture;
    poster.svc.printer = &printer;
  }
  QString pdf() const { return dir.filePath("wall.pdf"); }
  RendererCapture capture;
  PdfPrinter printer;
};

TEST(WallSheets, TheLargestPosterThePartsHoldInsideTheirMargins) {
  for (const QSizeF printable : {QSizeF(13200, 9200), QSizeF(9000, 9000)})
    for (int n : {2, 3}) {
      const WallLayout w = wallLayout(kPaper, printable, 1200, n);
      ASSERT_EQ(w.sheets.size(), size_t(n * n));
      // n parts less the n - 1 shared bands, full in one direction.
      const QSizeF room = printable - QSizeF(2 * w.margin, 2 * w.margin);
      const QSizeF spare = room * n - QSizeF(w.band, w.band) * (n - 1) - kPaper * w.scale;
      EXPECT_NEAR(std::min(spare.width(), spare.height()), 0, 1e-6);
      EXPECT_GE(std::max(spare.width(), spare.height()), 0);
      for (const WallSheet& s : w.sheets) {
        EXPECT_EQ(s.onPage.topLeft(), QPointF(w.margin, w.margin));
        EXPECT_LE(s.onPage.right(), printable.width() - w.margin + 1e-6);
        EXPECT_LE(s.onPage.bottom(), printable.height() - w.margin + 1e-6);
      }
      EXPECT_NEAR(w.sheets.back().source.right(), kPaper.width(), 1e-6);
      EXPECT_NEAR(w.sheets.back().source.bottom(), kPaper.height(), 1e-6);
    }
  EXPECT_TRUE(wallLayout(kPaper, {300, 300}, 1200, 3).sheets.empty());
}

TEST(WallPrint, EachSheetIsItsPartOfThePosterAndNeighboursShareTheirBand) {
  for (int n : {2, 3}) {
    WallFixture fx;
    Poster& p = fx.poster;
    test::makeSamplePoster(p);
    fx.dialogs.chosen = {n == 2 ? 0 : 1};
    printWallPoster(p);
    ASSERT_EQ(fx.dialogs.choices.size(), 1u);
    EXPECT_EQ(fx.dialogs.choices[0].title, "おおきく いんさつ");
    EXPECT_EQ(fx.dialogs.choices[0].buttons, QStringList({"4まい", "9まい", "やめる"}));
    EXPECT_TRUE(fx.dialogs.messages.empty());
    EXPECT_TRUE(p.form.picture2.visible);
    ASSERT_TRUE(run("pdfinfo", {fx.pdf()})
                    .contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(n * n))));

    QPdfWriter& page = fx.printer.writer;
    EXPECT_EQ(page.pageLayout().orientation(), QPageLayout::Landscape);
    const WallLayout wall = wallLayoutOn(page, n);
    // Rasterized at 90 dpi: k page pixels a device pixel.
    const int dpi = 90;
    const double k = double(dpi) / page.resolution();
    const QPointF corner = page.pageLayout().paintRect(QPageLayout::Point).topLeft() * dpi / 72.0;
    QImage ref(scaled(QRectF(QPointF(), kPaper * wall.scale), k).size(), QImage::Format_RGB32);
    {
      QPainter painter(&ref);
      drawSurface(painter, p.form.surface2, QRectF(ref.rect()));
    }
    const QString prefix = fx.dir.filePath("sheet");
    QProcess::execute("pdftoppm", {"-r", QString::number(dpi), fx.pdf(), prefix});
    // Where a rectangle of the printable area lies on a rasterized page.
    auto onSheet = [&](const QRectF& r) { return QRectF(corner + r.topLeft() * k, r.size() * k); };
    std::vector<QImage> sheets;
    for (const WallSheet& s : wall.sheets) {
      const QString file = QStringLiteral("%1-%2.ppm").arg(prefix).arg(sheets.size() + 1);
      sheets.push_back(QImage(file).convertToFormat(QImage::Format_RGB32));
      ASSERT_FALSE(sheets.back().isNull()) << file.toStdString();
      const QRectF fromRef(s.source.topLeft() * wall.scale * k, s.onPage.size() * k);
      EXPECT_LT(nearestDiff(sheets.back(), onSheet(s.onPage), ref, fromRef, 0), 6.0)
          << "sheet " << s.row + 1 << "-" << s.column + 1;
    }
    // The band on both sides of each edge shows the same pixels.
    for (const WallSheet& s : wall.sheets) {
      const QRectF r = s.onPage;
      const QImage& here = sheets[size_t(s.row * n + s.column)];
      if (s.right) {
        EXPECT_LT(
            nearestDiff(here, onSheet({r.right() - wall.band, r.top(), wall.band, r.height()}),
                        sheets[size_t(s.row * n + s.column + 1)],
                        onSheet({r.left(), r.top(), wall.band, r.height()})),
            3.0);
      }
      if (s.below) {
        EXPECT_LT(
            nearestDiff(here, onSheet({r.left(), r.bottom() - wall.band, r.width(), wall.band}),
                        sheets[size_t((s.row + 1) * n + s.column)],
                        onSheet({r.left(), r.top(), r.width(), wall.band})),
            3.0);
      }
    }
    // Words are text on the sheets they lie on, and not on those far away.
    for (size_t i = 0; i < wall.sheets.size(); ++i) {
      const WallSheet& s = wall.sheets[i];
      QString text = run(
          "pdftotext", {"-f", QString::number(i + 1), "-l", QString::number(i + 1), fx.pdf(), "-"});
      text.remove(QRegularExpression("\\s"));
      const double far = wall.margin / wall.scale + 2;
      for (const Element& w : p.form.text1) {
        const QRectF at(twipsToPixels(w.left) - kPaperPxLeft, twipsToPixels(w.top) - kPaperPxTop,
                        twipsToPixels(w.width), twipsToPixels(w.height));
        if (s.source.contains(at)) {
          EXPECT_TRUE(text.contains(w.caption)) << w.caption.toStdString() << " on " << i;
        } else if (!s.source.adjusted(-far, -far, far, far).intersects(at)) {
          EXPECT_FALSE(text.contains(w.caption)) << w.caption.toStdString() << " on " << i;
        }
      }
    }
  }
}

TEST(WallPrint, PhotosPrintFromTheirFilesOnceAtTheSizeTheyPrint) {
  WallFixture fx;
  Poster& p = fx.poster;
  FilePictureLoader loader;
  p.svc.pictures = &loader;
  test::makeSamplePoster(p);
  const QString file = fx.dir.filePath("しゃしん.jpg");
  test::samplePhoto(3)->image.scaled(3200, 2400).save(file, "JPEG", 90);
  Element& e = p.form.image3[0];
  e.picture = loader.load(file, kPhotoMaxPixels);  // as the strip places it
  ASSERT_LE(e.picture->image.width(), 1400);
  e.width = 1785 * 2.24f;
  e.height = 1340 * 2.24f;
  fx.dialogs.chosen = {1};
  printWallPoster(p);
  EXPECT_TRUE(fx.dialogs.messages.empty());
  // pdfimages -list: page num type width height color comp bpc enc interp
  // object ID x-ppi y-ppi size ratio. The photo is one object drawn on
  // every sheet it lies on, at 150 ppi or more.
  const QStringList rows = run("pdfimages", {"-list", fx.pdf()}).split('\n');
  std::set<QString> objects;
  int onSheets = 0;
  for (const QString& row : rows) {
    const QStringList c = row.simplified().split(' ');
    if (c.size() < 14 || c[3].toInt() < 1500) continue;
    ++onSheets;
    objects.insert(c[10]);
    EXPECT_GE(c[12].toInt(), 150) << row.toStdString();
  }
  EXPECT_GE(onSheets, 2);
  EXPECT_EQ(objects.size(), 1u);
}

TEST(WallPrint, CancelPrintsNothingAndAFailedSheetIsToldOnce) {
  WallFixture fx;
  Poster& p = fx.poster;
  test::makeSamplePoster(p);
  // The window closed, then やめる: no printer dialog, nothing shown.
  fx.dialogs.chosen = {2};
  for (int i = 0; i < 2; ++i) printWallPoster(p);
  EXPECT_EQ(fx.dialogs.choices.size(), 2u);
  EXPECT_EQ(fx.printer.dialogs, 0);
  EXPECT_FALSE(p.form.picture2.visible);
  // The printer dialog cancelled: Picture2 shows the grab, as いんさつ does.
  fx.dialogs.chosen = {0};
  fx.printer.answers = {PrinterSetup::Cancelled};
  printWallPoster(p);
  EXPECT_EQ(fx.printer.dialogs, 1);
  EXPECT_TRUE(p.form.picture2.visible);
  EXPECT_FALSE(QFile::exists(fx.pdf()));
  EXPECT_TRUE(fx.dialogs.messages.empty());

  ThirdPageFails failing(fx.dir.filePath("failing.pdf"));
  p.svc.printer = &failing;
  fx.dialogs.chosen = {1};
  printWallPoster(p);
  EXPECT_EQ(failing.writer.pages, 2);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text, "いんさつ できませんでした。");
  EXPECT_EQ(fx.dialogs.messages[0].title, "いんさつ");
}

}  // namespace
}  // namespace pastel
