#include "app/pastel_app_view.h"
#include "steps/save_poster.h"

namespace pastel {

void wireSaving(MainWindowView& view, Poster& p) {
  view.on(p.form.command20).click = [&p] { savePoster(p); };
}

}  // namespace pastel
