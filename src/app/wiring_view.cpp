#include "app/pastel_app_view.h"
#include "steps/startup.h"

namespace pastel {

void wireMainWindow(MainWindowView& view, Poster& p) {
  view.on(p.form.command3).click = [&view] { view.askToEnd(); };
  wireWizard(view, p);
  wireCanvas(view, p);
  wireWords(view, p);
  wireSettings(view, p);
  wireSaving(view, p);
  wireCapture(view, p);
  wireKanaInput(view, p);
  wireOpening(view, p);
  wireWordEditor(view, p);
}

}  // namespace pastel
