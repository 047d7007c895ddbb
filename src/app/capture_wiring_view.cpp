#include <QAction>

#include "app/pastel_app_view.h"
#include "capture/print.h"
#include "capture/save_image.h"
#include "capture/wall_print.h"

namespace pastel {

void wireCapture(MainWindowView& view, Poster& p) {
  view.on(p.form.command14).click = [&p] { printPoster(p); };
  view.on(p.form.command22).click = [&p] { printWallPoster(p); };
  view.onTriggered(view.itemGazo(), [&p] { saveAsImage(p); });
}

}  // namespace pastel
