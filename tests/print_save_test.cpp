#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QProcess>
#include <csignal>

#include "capture/poster_renderer.h"
#include "capture/print.h"
#include "capture/print_page.h"
#include "capture/save_image.h"
#include "steps/palette.h"
#include "steps/wizard.h"
#include "support/sample_poster.h"
#include "test_support.h"

namespace pastel {
namespace {

using test::PosterFixture;
using test::SurfaceCapture;

const QSizeF kGrab(707, 499);

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int le32(const QByteArray& b, int at) {
  return int(quint8(b[at])) | int(quint8(b[at + 1])) << 8 | int(quint8(b[at + 2])) << 16 |
         int(quint8(b[at + 3])) << 24;
}

struct OutputFixture : PosterFixture {
  OutputFixture() : capture(poster), printer(dir.filePath("out.pdf")) {
    poster.svc.capture = &capture;
    poster.svc.printer = &printer;
  }
  void toStep4() {
    nextFrom1(poster);
    nextFrom2(poster);
    nextFrom3(poster);
  }
  SurfaceCapture capture;
  PdfPrinter printer;
};

TEST(PrintScaledToPage, FillsTheWidthOrTheHeightFromTheTopLeft) {
  // Shapes alone, in one unit: wider printable areas give full height.
  EXPECT_EQ(drawnSize(kGrab, {1000, 500}), QSizeF(500 * 707.0 / 499, 500));
  EXPECT_EQ(drawnSize(kGrab, {1000, 800}), QSizeF(1000, 1000 * 499.0 / 707));
  EXPECT_EQ(drawnSize(kGrab, {707, 499}), kGrab);
  EXPECT_EQ(orientationFor(kGrab), QPageLayout::Landscape);
  EXPECT_EQ(orientationFor({499, 707}), QPageLayout::Portrait);
  EXPECT_EQ(orientationFor({500, 500}), QPageLayout::Portrait);

  QTemporaryDir dir;
  struct Case {
    QSizeF pageMm;  // as given, portrait
    QImage picture;
    QPageLayout::Orientation orientation;
    bool fullHeight;
  } cases[] = {
      // A4 turned: 297 x 210 is narrower than 707:499, so the width is full.
      {{210, 297}, QImage(707, 499, QImage::Format_RGB32), QPageLayout::Landscape, false},
      // 100 x 300 turned: far wider, so the height is full.
      {{100, 300}, QImage(707, 499, QImage::Format_RGB32), QPageLayout::Landscape, true},
      // A tall picture stays portrait on A4 and fills the width.
      {{210, 297}, QImage(300, 400, QImage::Format_RGB32), QPageLayout::Portrait, false},
  };
  for (Case& c : cases) {
    QPdfWriter page(dir.filePath("page.pdf"));
    page.setPageLayout(QPageLayout(QPageSize(c.pageMm, QPageSize::Millimeter),
                                   QPageLayout::Portrait, QMarginsF(10, 5, 10, 5),
                                   QPageLayout::Millimeter));
    c.picture.fill(Qt::white);
    QPainter painter;
    PaperPrint what;
    what.grab = c.picture;
    const QRectF drawn = printScaledToPage(page, painter, what);
    ASSERT_TRUE(painter.end());
    EXPECT_EQ(page.pageLayout().orientation(), c.orientation);
    const QRectF area = page.pageLayout().paintRectPixels(page.resolution());
    EXPECT_EQ(drawn.topLeft(), QPointF(0, 0));
    if (c.fullHeight) {
      EXPECT_NEAR(drawn.height(), area.height(), 1);
      EXPECT_LT(drawn.width(), area.width() - 10);
    } else {
      EXPECT_NEAR(drawn.width(), area.width(), 1);
      EXPECT_LT(drawn.height(), area.height() - 10);
    }
    EXPECT_NEAR(drawn.width() / drawn.height(), double(c.picture.width()) / c.picture.height(),
                0.01);
  }
}

TEST(Print, GrabsIntoPicture2ThenPrintsOnePageWhateverTheDialogSays) {
  OutputFixture fx;
  Poster& p = fx.poster;
  fx.toStep4();
  p.form.image3[2].borderStyle = 1;  // a selected photo
  p.selectionActive = 1;
  p.form.paper.paintDot(100, 100, 20, rgb(255, 0, 0));

  fx.printer.answers = {PrinterSetup::Cancelled, PrinterSetup::Failed};
  for (int i = 0; i < 2; ++i) {
    printPoster(p);
    EXPECT_TRUE(p.form.picture2.visible);
    EXPECT_EQ(p.selectionActive, 0);
    EXPECT_EQ(p.form.image3[2].borderStyle, 0);
    ASSERT_TRUE(p.form.surface2.backPicture());
    EXPECT_EQ(p.form.surface2.image().pixelColor(100, 100), QColor(255, 0, 0));
    EXPECT_FALSE(QFile::exists(fx.dir.filePath("out.pdf")));
  }
  EXPECT_TRUE(fx.dialogs.messages.empty());

  printPoster(p);
  EXPECT_EQ(fx.printer.dialogs, 3);
  EXPECT_TRUE(p.form.picture2.visible);
  const QByteArray pdf = readAll(fx.dir.filePath("out.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 1);
  EXPECT_EQ(fx.printer.writer.pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_TRUE(fx.dialogs.messages.empty());
  // Two at 1 -> 2, one for each press: the page is drawn from that grab.
  EXPECT_EQ(fx.capture.grabs, 2 + 3);
}

TEST(Print, PrinterErrorIsToldAndChangesNothingElse) {
  OutputFixture fx;
  Poster& p = fx.poster;
  fx.toStep4();
  PdfPrinter nowhere(fx.dir.filePath("no/such/folder/out.pdf"));
  p.svc.printer = &nowhere;
  printPoster(p);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text, "いんさつ できませんでした。");
  EXPECT_TRUE(p.form.picture2.visible);
  EXPECT_EQ(p.form.label5.caption, kStep4Title);
}

TEST(SaveAsImage, StepOneGrabsIntoThePaperWhichANewColourErases) {
  OutputFixture fx;
  Poster& p = fx.poster;
  p.form.paper.paintDot(50, 60, 10, rgb(0, 0, 255));
  const QString name = fx.dir.filePath("かみ の え");  // no extension
  fx.dialogs.paths = {name};
  saveAsImage(p);
  ASSERT_EQ(fx.dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(fx.dialogs.fileDialogs[0].filter, "BMP(*.bmp);;PNG(*.png);;PDF(*.pdf)");
  EXPECT_TRUE(QFile::exists(name));
  EXPECT_FALSE(QFile::exists(name + ".bmp"));
  ASSERT_TRUE(p.form.paper.backPicture());
  EXPECT_EQ(p.form.paper.backPicture()->image.pixelColor(50, 60), QColor(0, 0, 255));
  EXPECT_TRUE(p.form.picture1.visible);
  EXPECT_FALSE(p.form.picture2.visible);

  // The file: a 24-bit BMP of the whole paper, the dot where it was drawn.
  const QByteArray bmp = readAll(name);
  ASSERT_GE(bmp.size(), 54);
  EXPECT_TRUE(bmp.startsWith("BM"));
  EXPECT_EQ(le32(bmp, 18), 707);
  EXPECT_EQ(le32(bmp, 22), 499);
  EXPECT_EQ(int(quint8(bmp[28])), 24);
  QImage back;
  ASSERT_TRUE(back.loadFromData(bmp, "BMP"));
  EXPECT_EQ(back.pixelColor(50, 60), QColor(0, 0, 255));

  openPalette(p, PaletteTarget::Paper);
  clickSwatch(p, 12);
  paletteOk(p);
  EXPECT_FALSE(p.form.paper.backPicture());
  EXPECT_NE(p.form.paper.image().pixelColor(50, 60), QColor(0, 0, 255));
}

TEST(SaveAsImage, Picture2StaysOnlyInStepFourAfterNext) {
  OutputFixture fx;
  Poster& p = fx.poster;
  fx.toStep4();
  fx.dialogs.paths = {fx.dir.filePath("a.bmp")};
  saveAsImage(p);
  EXPECT_TRUE(p.form.picture2.visible);
  EXPECT_TRUE(p.form.surface2.backPicture());
  EXPECT_TRUE(QFile::exists(fx.dir.filePath("a.bmp")));

  // Step 4 as entered by opening a poster: hidden again. Cancel too.
  p.form.label5.caption = kStep4OpenedTitle;
  fx.dialogs.paths = {QString()};
  saveAsImage(p);
  EXPECT_FALSE(p.form.picture2.visible);
  EXPECT_TRUE(fx.dialogs.messages.empty());

  backFrom4(p);  // step 3
  p.form.picture2.visible = true;
  fx.dialogs.paths = {fx.dir.filePath("c.bmp")};
  saveAsImage(p);
  EXPECT_FALSE(p.form.picture2.visible);
  EXPECT_TRUE(QFile::exists(fx.dir.filePath("c.bmp")));
}

// The words of a PDF as pdftotext reads them.
QString pdfText(const QString& pdf) {
  QProcess run;
  run.start("pdftotext", {"-enc", "UTF-8", pdf, "-"});
  run.waitForFinished(30000);
  return QString::fromUtf8(run.readAllStandardOutput());
}

TEST(SaveAsImage, PngAndPdfAreWhatTheirNamesSayWhicheverTypeIsChosen) {
  OutputFixture fx;
  Poster& p = fx.poster;
  RendererCapture capture(p.form);
  p.svc.capture = &capture;
  test::makeSamplePoster(p);
  const QImage grab = capture.grabPaper();

  // BMP chosen, as at first, with names that say otherwise; and PNG and PDF
  // chosen with a name that says nothing.
  const QString png = fx.dir.filePath("share.png"), pdf = fx.dir.filePath("share.PDF");
  const QString png2 = fx.dir.filePath("ぽすたー"), pdf2 = fx.dir.filePath("ぽすたー2");
  fx.dialogs.paths = {png, pdf, png2, pdf2};
  fx.dialogs.types = {0, 0, 1, 2};
  for (int i = 0; i < 4; ++i) saveAsImage(p);
  EXPECT_TRUE(fx.dialogs.messages.empty());

  for (const QString& name : {png, png2}) {
    EXPECT_TRUE(readAll(name).startsWith("\x89PNG\r\n\x1a\n")) << qPrintable(name);
    QImage back(name, "PNG");
    ASSERT_EQ(back.size(), grab.size() * kPngScale);
    // The poster drawn again at print resolution, not a BMP renamed.
    const QImage down = back.scaled(grab.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 diff = 0;
    for (int y = 0; y < grab.height(); ++y)
      for (int x = 0; x < grab.width(); ++x)
        diff += std::abs(qGray(down.pixel(x, y)) - qGray(grab.pixel(x, y)));
    EXPECT_LT(diff / (grab.width() * grab.height()), 12) << qPrintable(name);
  }
  for (const QString& name : {pdf, pdf2}) {
    const QByteArray bytes = readAll(name);
    EXPECT_TRUE(bytes.startsWith("%PDF")) << qPrintable(name);
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1) << qPrintable(name);
    // Words as text, not pixels.
    const QString text = pdfText(name);
    EXPECT_TRUE(text.contains("なつやすみ")) << qPrintable(name);
    EXPECT_TRUE(text.contains("かぶとむし")) << qPrintable(name);
  }
  EXPECT_EQ(QDir(fx.dir.path()).entryList({"*.bmp"}, QDir::Files), QStringList());
}

TEST(SaveAsImage, FailedWriteLeavesTheOlderFileAndSaysSo) {
  OutputFixture fx;
  Poster& p = fx.poster;
  const QStringList names = {fx.dir.filePath("old.bmp"), fx.dir.filePath("old.png"),
                             fx.dir.filePath("old.pdf")};
  for (const QString& name : names) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("an older picture");
  }

  // A file-size limit stands in for a full disk, and holds for root too.
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  fx.dialogs.paths = {names.begin(), names.end()};
  for (int i = 0; i < 3; ++i) saveAsImage(p);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  for (const QString& name : names) EXPECT_EQ(readAll(name), "an older picture");
  ASSERT_EQ(fx.dialogs.messages.size(), 3u);
  EXPECT_EQ(fx.dialogs.messages[0].text, "え を ほぞん できませんでした。");
  EXPECT_EQ(fx.dialogs.messages[0].title, "画像で保存");
  const QStringList left = QDir(fx.dir.path()).entryList(QDir::Files);
  EXPECT_EQ(left, (QStringList{"old.bmp", "old.pdf", "old.png"}));

  // A folder that does not exist: told as well, nothing written.
  fx.dialogs.paths = {fx.dir.filePath("no/such/x.bmp"), fx.dir.filePath("no/such/x.pdf")};
  saveAsImage(p);
  saveAsImage(p);
  EXPECT_EQ(fx.dialogs.messages.size(), 5u);
}

}  // namespace
}  // namespace pastel
