#include "app/pastel_app_view.h"
#include "storage/open_poster.h"

namespace pastel {

void wireOpening(MainWindowView& view, Poster& p) {
  QObject::connect(view.itemOpen(), &QAction::triggered, &view,
                   [&view, &p] { view.run([&p] { openPoster(p); }); });
}

}  // namespace pastel
