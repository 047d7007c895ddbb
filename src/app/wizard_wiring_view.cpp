#include "app/palette_view.h"
#include "app/pastel_app_view.h"
#include "steps/palette.h"
#include "steps/wizard.h"

namespace pastel {

namespace {
// The palette window for the life of the main window, shown and hidden as
// the palette's model says.
class PaletteHost : public QObject {
 public:
  PaletteHost(MainWindowView& view, Poster& p)
      : QObject(&view), window_(p.palette, view.eventLoop()) {
    PaletteForm& pal = p.palette;
    for (int k = 0; k < 24; ++k)
      window_.on(pal.label3[size_t(k)]).click = [&p, k] { clickSwatch(p, k); };
    window_.on(pal.command12).click = [&p] { paletteOk(p); };
    window_.onClose = [&p] { closePalette(p); };
    view.alsoSync([this] { window_.sync(); });
  }

 private:
  PaletteWindow window_;
};
}  // namespace

void wireWizard(MainWindowView& view, Poster& p) {
  MainForm& f = p.form;
  view.on(f.command11).click = [&p] { nextFrom1(p); };
  view.on(f.command6).click = [&p] { nextFrom2(p); };
  view.on(f.command4).click = [&p] { nextFrom3(p); };
  view.on(f.command5).click = [&p] { backFrom2(p); };
  view.on(f.command15).click = [&p] { backFrom3(p); };
  view.on(f.command16).click = [&p] { backFrom4(p); };

  new PaletteHost(view, p);
  view.on(f.command12).click = [&p] { openPalette(p, PaletteTarget::Paper); };
  view.on(f.command13).click = [&p] { openPalette(p, PaletteTarget::Line); };
  view.on(f.command18).click = [&p] { openPalette(p, PaletteTarget::WordFrame); };
  view.on(f.command17).click = [&p] { openPalette(p, PaletteTarget::WordText); };
}

}  // namespace pastel
