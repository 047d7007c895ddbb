#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "capture/print_page.h"
#include "platform/qt_printer_widgets.h"
#include "support/sample_poster.h"
#include "view_support.h"

namespace pastel {
namespace {

struct Diff {
  double mean = 0;    // mean absolute difference per channel
  double within = 0;  // share of pixels no channel of which is off by more than 48
};

Diff compare(const QImage& a, const QImage& b) {
  Diff d;
  long long sum = 0, close = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      const int dr = std::abs(qRed(p) - qRed(q)), dg = std::abs(qGreen(p) - qGreen(q)),
                db = std::abs(qBlue(p) - qBlue(q));
      sum += dr + dg + db;
      if (std::max({dr, dg, db}) <= 48) ++close;
    }
  const double n = double(a.width()) * a.height();
  d.mean = sum / (3 * n);
  d.within = close / n;
  return d;
}

// Share of pixels in the box that are neither near white nor near the dark
// text colour: the blur around letters.
double blurShare(const QImage& img, QRect box) {
  long long mid = 0;
  for (int y = box.top(); y <= box.bottom(); ++y)
    for (int x = box.left(); x <= box.right(); ++x) {
      const int g = qGray(img.pixel(x, y));
      if (g > 40 && g < 215) ++mid;
    }
  return double(mid) / (double(box.width()) * box.height());
}

// The word's box on the page holds less blur than the grab stretched to
// the same size.
void expectSharperThanGrab(const QImage& page, QRectF drawn, const QImage& grab,
                           const Element& word) {
  const double s = drawn.width() / 707;
  const QRect wordPx(twipsToPixels(word.left) - kPaperPxLeft, twipsToPixels(word.top) - kPaperPxTop,
                     100, 22);
  const QRect onPage(int(drawn.left() + wordPx.left() * s), int(drawn.top() + wordPx.top() * s),
                     int(wordPx.width() * s), int(wordPx.height() * s));
  const QImage stretched =
      grab.scaled(drawn.size().toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QRect inStretched = onPage.translated(-drawn.topLeft().toPoint());
  EXPECT_LT(blurShare(page, onPage), 0.6 * blurShare(stretched, inStretched));
}

// The printed page at `dpi`, and the paper's rectangle on it in pixels.
QImage rasterize(const QString& pdf, int dpi, const QPageLayout& layout, QRectF* drawn) {
  const QString prefix = pdf + ".page";
  QProcess::execute("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", pdf, prefix});
  const QRectF area = layout.paintRect(QPageLayout::Point);
  const QSizeF size = drawnSize(QSizeF(707, 499), area.size());
  *drawn = QRectF(area.topLeft() * dpi / 72.0, size * dpi / 72.0);
  return QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
}

// Presses OK in the printer dialog as soon as it is open.
void acceptPrintDialogSoon() {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, timer, [timer] {
    if (auto* dlg = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      dlg->accept();
      timer->deleteLater();
    }
  });
  timer->start(10);
}

TEST(PrintView, PrintedPageIsTheGrabOnlySharper) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  MainWindowView& w = fx.app->window();
  w.run([&] { test::makeSamplePoster(p); });
  p.form.text1[3].borderStyle = 1;  // a selected word: not printed
  // A photo partly over another and a word over a photo: each must print
  // in front, as it shows.
  p.form.image3[1].left = 1200;
  p.form.text1[4].left = 500;
  p.form.text1[4].top = 3300;
  w.sync();

  auto* printer = static_cast<QtPrinter*>(p.svc.printer);
  const QString pdf = fx.dir.filePath("page.pdf");
  printer->printer().setOutputFormat(QPrinter::PdfFormat);
  printer->printer().setOutputFileName(pdf);
  acceptPrintDialogSoon();
  QTest::mouseClick(fx.widget<QPushButton>("Command14"), Qt::LeftButton);

  ASSERT_TRUE(QFile::exists(pdf));
  EXPECT_TRUE(fx.widget("Picture2")->isVisible());
  EXPECT_EQ(p.form.text1[3].borderStyle, 0);
  const QPageLayout layout = printer->printer().pageLayout();
  EXPECT_EQ(layout.orientation(), QPageLayout::Landscape);
  ASSERT_TRUE(p.form.surface2.backPicture());
  const QImage grab = p.form.surface2.backPicture()->image;
  ASSERT_EQ(grab.size(), QSize(707, 499));

  // Scaled down to the grab's size, the page is the grab.
  QRectF drawn;
  const QImage page = rasterize(pdf, 300, layout, &drawn);
  ASSERT_FALSE(page.isNull());
  const QImage down =
      page.copy(drawn.toRect()).scaled(707, 499, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const Diff d = compare(down, grab);
  EXPECT_LT(d.mean, 6.0);
  EXPECT_GT(d.within, 0.98);
  for (const QRect& overlap : {QRect(70, 200 - 184, 55, 80), QRect(140, 222 - 184, 40, 18)})
    EXPECT_LT(compare(down.copy(overlap), grab.copy(overlap)).mean, 12.0);
  // Nothing beyond the paper's rectangle is printed.
  EXPECT_EQ(page.pixelColor(int(drawn.right()) + 5, int(drawn.top()) + 5), QColor(Qt::white));
  EXPECT_EQ(page.pixelColor(int(drawn.left()) + 5, int(drawn.bottom()) + 5), QColor(Qt::white));

  // Around a word the page is sharper than the grab stretched to it.
  expectSharperThanGrab(page, drawn, grab, p.form.text1[0]);
}

TEST(PrintView, StrokesOnPicture2AreSavedAndPrinted) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  MainWindowView& w = fx.app->window();
  w.run([&] { test::makeSamplePoster(p); });
  auto* printer = static_cast<QtPrinter*>(p.svc.printer);
  const QString pdf = fx.dir.filePath("first.pdf");
  printer->printer().setOutputFormat(QPrinter::PdfFormat);
  printer->printer().setOutputFileName(pdf);
  acceptPrintDialogSoon();
  QTest::mouseClick(fx.widget<QPushButton>("Command14"), Qt::LeftButton);
  ASSERT_TRUE(QFile::exists(pdf));

  // A green stroke drawn on the shown print surface.
  p.form.command13.backColor = rgb(0, 0xc0, 0);
  p.form.hscroll1.scroll.value = 8;
  QWidget* surface = fx.widget("Picture2");
  ASSERT_TRUE(surface->isVisible());
  QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(600, 60));
  QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(600, 60));

  const QString bmp = fx.dir.filePath("e");
  fx.dialogs.paths = {bmp};
  fx.app->window().itemGazo()->trigger();
  EXPECT_TRUE(surface->isVisible());  // step 4 after Next
  QImage saved(bmp, "BMP");
  ASSERT_EQ(saved.size(), QSize(707, 499));
  EXPECT_EQ(saved.pixelColor(600, 60), QColor(0, 0xc0, 0));
  EXPECT_TRUE(fx.dialogs.messages.empty());

  // Printed again, the stroke is on the page and the page still the grab.
  const QString second = fx.dir.filePath("second.pdf");
  printer->printer().setOutputFileName(second);
  acceptPrintDialogSoon();
  QTest::mouseClick(fx.widget<QPushButton>("Command14"), Qt::LeftButton);
  QRectF drawn;
  const QImage page = rasterize(second, 150, printer->printer().pageLayout(), &drawn);
  const QImage down =
      page.copy(drawn.toRect()).scaled(707, 499, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage grab = p.form.surface2.backPicture()->image;
  EXPECT_LT(compare(down, grab).mean, 6.0);
  // The words under Picture2 print as sharp as the first time.
  expectSharperThanGrab(page, drawn, grab, p.form.text1[0]);
  const QColor c = down.pixelColor(600, 60);
  EXPECT_LT(c.red(), 40);
  EXPECT_GT(c.green(), 150);
}

TEST(PrintView, AFileThatTakesNoByteIsToldAsAFailure) {
  // /dev/full opens as a full disk does and then refuses every byte.
  if (!QFileInfo::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  fx.app->window().run([&] { test::makeSamplePoster(p); });
  test::FilePrinter full("/dev/full");
  p.svc.printer = &full;
  QTest::mouseClick(fx.widget<QPushButton>("Command14"), Qt::LeftButton);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_EQ(fx.dialogs.messages[0].text, "いんさつ できませんでした。");
  EXPECT_EQ(fx.dialogs.messages[0].title, "いんさつ");
  EXPECT_TRUE(fx.widget("Picture2")->isVisible());

  // The same printer on a file that can be written says nothing.
  const QString pdf = fx.dir.filePath("page.pdf");
  full.printer().setOutputFileName(pdf);
  QTest::mouseClick(fx.widget<QPushButton>("Command14"), Qt::LeftButton);
  EXPECT_EQ(fx.dialogs.messages.size(), 1u);
  EXPECT_GT(QFileInfo(pdf).size(), 1000);
  EXPECT_TRUE(QFileInfo(pdf).permissions() & QFileDevice::ReadOther);

  // Printed again onto a disk that fills after 1000 bytes: the page printed
  // before stays whole, and nothing else is left in its folder.
  QFile before(pdf);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray old = before.readAll();
  before.close();
  const QStringList files = QDir(fx.dir.path()).entryList(QDir::Files | QDir::Hidden);
  rlimit was{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &was), 0);
  rlimit small = was;
  small.rlim_cur = 1000;
  const auto xfsz = std::signal(SIGXFSZ, SIG_IGN);  // a write past it fails instead
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  QTest::mouseClick(fx.widget<QPushButton>("Command14"), Qt::LeftButton);
  setrlimit(RLIMIT_FSIZE, &was);
  std::signal(SIGXFSZ, xfsz);
  EXPECT_EQ(fx.dialogs.messages.size(), 2u);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  EXPECT_TRUE(before.readAll() == old);
  EXPECT_EQ(QDir(fx.dir.path()).entryList(QDir::Files | QDir::Hidden), files);
  EXPECT_EQ(full.printer().outputFileName(), pdf);
}

}  // namespace
}  // namespace pastel
