#include "capture/print.h"

#include <QPainter>

#include "canvas/poster.h"
#include "capture/output_guard.h"
#include "capture/picture2_grab.h"
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

}  // namespace

void printPoster(Poster& p) {
  OutputGuard guard(p);
  if (!guard.owns()) return;
  p.selectionActive = 0;
  clearFrames(p);  // the frame is not part of the poster
  yieldToEvents(p);

  PaperPrint what = grabIntoPicture2(p);
  const PictureRef grabbed = p.form.surface2.backPicture();
  const int shownRevision = p.form.surface2.revision();

  if (!p.svc.printer) return;
  if (p.svc.printer->showSetupDialog() != PrinterSetup::Accepted) return;

  // The dialog ran the event loop: print what Picture2 shows now.
  const PaperSurface& shown = p.form.surface2;
  if (shown.backPicture() != grabbed || shown.revision() != shownRevision) {
    what.grab = shown.image();
    what.sharp = QPicture();
  }
  Printer* printer = p.svc.printer;
  QPainter painter;
  const bool drawn = !printScaledToPage(*printer->device(), painter, what).isEmpty();
  const bool ended = painter.isActive() && painter.end();  // ends the document: the page goes
  if (!drawn || !ended || printer->failed()) tellPrintFailed(p);
  yieldToEvents(p);
}

}  // namespace pastel
