#include "capture/print.h"

#include <QPainter>

#include "canvas/poster.h"
#include "capture/poster_renderer.h"
#include "capture/print_page.h"
#include "platform/dialogs.h"
#include "platform/printer.h"

namespace pastel {

void tellPrintFailed(Poster& p) {
  if (!p.svc.dialogs) return;
  MessageBoxText box;
  box.text = QStringLiteral("いんさつ できませんでした。");
  box.title = QStringLiteral("いんさつ");
  box.icon = MsgIcon::Exclamation;
  p.svc.dialogs->message(box);
}

void printPoster(Poster& p) {
  p.selectionActive = 0;
  clearFrames(p);  // the frame is not part of the poster
  yieldToEvents(p);

  if (p.svc.capture) p.form.surface2.setBackPicture(p.svc.capture->grabPaperPicture());
  p.form.picture2.visible = true;

  if (!p.svc.printer) return;
  if (p.svc.printer->showSetupDialog() != PrinterSetup::Accepted) return;

  // The dialog ran the event loop: read again what Picture2 shows. Its grab
  // draws the poster again at the printer's resolution, its strokes on top.
  PaperPrint what;
  what.grab = p.form.surface2.image();
  what.drawSharp = [shown = p.form.surface2](QPainter& painter, const QRectF& target) {
    drawSurface(painter, shown, target);
  };
  Printer* printer = p.svc.printer;
  QPainter painter;
  const bool drawn = !printScaledToPage(*printer->device(), painter, what).isEmpty();
  const bool ended = painter.isActive() && painter.end();  // ends the document: the page goes
  const bool failed = printer->failed();
  if (!drawn || !ended || failed) tellPrintFailed(p);
  yieldToEvents(p);
}

}  // namespace pastel
