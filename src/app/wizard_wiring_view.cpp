#include <memory>

#include "app/palette_view.h"
#include "app/pastel_app_view.h"
#include "app/wizard.h"

namespace pastel {

namespace {
// Owns the palette model and its window for the life of the main window.
class PaletteController : public QObject {
 public:
  PaletteController(MainWindowView& view, Poster& p) : QObject(&view), view_(view), p_(p) {}
  ~PaletteController() override = default;

  void open(PaletteTarget t) {
    openPalette(p_, model_, t);
    if (!window_)
      window_ = std::make_unique<PaletteWindow>(
          model_, [this](int k) { run([this, k] { clickSwatch(model_, k); }); },
          [this] { run([this] { paletteOk(p_, model_); }); });
    window_->sync();
  }

 private:
  void run(const std::function<void()>& f) {
    f();
    if (window_) window_->sync();
    view_.sync();
  }
  MainWindowView& view_;
  Poster& p_;
  Palette model_;
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

  auto* palette = new PaletteController(view, p);
  view.on(f.command12).click = [palette] { palette->open(PaletteTarget::Paper); };
  view.on(f.command13).click = [palette] { palette->open(PaletteTarget::Line); };
  view.on(f.command18).click = [palette] { palette->open(PaletteTarget::WordFrame); };
  view.on(f.command17).click = [palette] { palette->open(PaletteTarget::WordText); };
}

}  // namespace pastel
