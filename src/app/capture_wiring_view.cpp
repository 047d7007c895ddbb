#include <QAction>

#include "app/pastel_app_view.h"
#include "capture/print.h"
#include "capture/save_image.h"

namespace pastel {

void wireCapture(MainWindowView& view, Poster& p) {
  view.on(p.form.command14).click = [&p] { printPoster(p); };
  MainWindowView* v = &view;
  QObject::connect(view.itemGazo(), &QAction::triggered, &view,
                   [v, &p] { v->run([&p] { saveAsImage(p); }); });
}

}  // namespace pastel
