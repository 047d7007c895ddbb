#include "capture/print.h"

#include <QPainter>

#include "canvas/poster.h"
#include "capture/print_page.h"
#include "platform/dialogs.h"
#include "platform/printer.h"

namespace pastel {

namespace {

void tellPrintFailed(Poster& p) {
  if (!p.svc.dialogs) return;
  MessageBoxText box;
  box.text = QStringLiteral("いんさつ できませんでした。");
  box.title = QStringLiteral("いんさつ");
  box.icon = MsgIcon::Exclamation;
  p.svc.dialogs->message(box);
}

// The pixels of `shown` that `under` does not have; null when none differ.
QImage differing(const QImage& shown, const QImage& under) {
  if (shown.size() != under.size()) return {};
  const QImage a = shown.convertToFormat(QImage::Format_RGB32);
  const QImage b = under.convertToFormat(QImage::Format_RGB32);
  QImage out(a.size(), QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  qint64 count = 0;
  for (int y = 0; y < a.height(); ++y) {
    const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    auto* po = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < a.width(); ++x)
      if ((pa[x] ^ pb[x]) & 0xffffff) {
        po[x] = pa[x] | 0xff000000;
        ++count;
      }
  }
  return count ? out : QImage();
}

}  // namespace

void printPoster(Poster& p) {
  p.selectionActive = 0;
  clearFrames(p);  // the frame is not part of the poster
  yieldToEvents(p);

  if (p.svc.capture) p.form.surface2.setBackPicture(pictureFromImage(p.svc.capture->grabPaper()));
  p.form.picture2.visible = true;

  if (!p.svc.printer) return;
  if (p.svc.printer->showSetupDialog() != PrinterSetup::Accepted) return;

  // The dialog ran the event loop: read again what Picture2 shows.
  PaperPrint what;
  what.grab = p.form.surface2.image();
  PaperCapture* capture = p.svc.capture;
  if (capture) {
    // The window under Picture2 draws sharper than Picture2's pixels; where
    // the two differ, the pixels win, so the page always shows the grab.
    p.form.picture2.visible = false;
    const QImage under = capture->grabPaper();
    what.overlay = differing(what.grab, under);
    what.drawSharp = [capture](QPainter& painter, const QRectF& target) {
      return capture->drawPaper(painter, target);
    };
  }
  Printer* printer = p.svc.printer;
  QPainter painter;
  const bool drawn = !printScaledToPage(*printer->device(), painter, what).isEmpty();
  p.form.picture2.visible = true;
  const bool ended = painter.isActive() && painter.end();  // ends the document: the page goes
  const bool failed = printer->failed();
  if (!drawn || !ended || failed) tellPrintFailed(p);
  yieldToEvents(p);
}

}  // namespace pastel
