#include "app/palette.h"
#include "app/palette_view.h"
#include "app/pastel_app_view.h"
#include "app/wizard.h"

namespace pastel {

namespace {
// The palette window for the life of the main window: made on first use,
// then only shown and hidden as the palette's model says.
class PaletteHost : public QObject {
 public:
  PaletteHost(MainWindowView& view, Poster& p) : QObject(&view), view_(view), p_(p) {}

  void open(PaletteTarget t) {
    if (!window_) build();
    run([this, t] { openPalette(p_, t); });
  }

 private:
  void build() {
    window_ = std::make_unique<PaletteWindow>(p_.palette,
                                              [this](const std::function<void()>& h) { run(h); });
    PaletteForm& pal = p_.palette;
    for (int k = 0; k < 24; ++k)
      window_->on(pal.label3[size_t(k)]).click = [this, k] { clickSwatch(p_, k); };
    window_->on(pal.command12).click = [this] { paletteOk(p_); };
    window_->onClose = [this] { run([this] { closePalette(p_); }); };
  }
  void run(const std::function<void()>& f) {
    f();
    if (window_) window_->sync();
    view_.sync();
  }
  MainWindowView& view_;
  Poster& p_;
  std::unique_ptr<PaletteWindow> window_;
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

  auto* palette = new PaletteHost(view, p);
  view.on(f.command12).click = [palette] { palette->open(PaletteTarget::Paper); };
  view.on(f.command13).click = [palette] { palette->open(PaletteTarget::Line); };
  view.on(f.command18).click = [palette] { palette->open(PaletteTarget::WordFrame); };
  view.on(f.command17).click = [palette] { palette->open(PaletteTarget::WordText); };
}

}  // namespace pastel
