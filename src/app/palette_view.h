#pragma once
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "app/element_widgets_view.h"
#include "form/palette_form.h"

namespace pastel {

// The palette window Form2, a tool window over the main window, built from
// the palette's table. Its swatches and OK report through on(); closing its
// frame reports through onClose, once no handler runs.
class PaletteWindow : public QWidget {
 public:
  PaletteWindow(PaletteForm& model, QtEventLoop& loop);
  ~PaletteWindow() override;
  ElementEvents& on(const Element& e) { return binder_->on(e); }
  std::function<void()> onClose;
  void sync();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  PaletteForm& model_;
  std::unique_ptr<FormBinder> binder_;
  QtEventLoop& loop_;
  std::optional<QPoint> movedTo_;  // where the window was last put
};

}  // namespace pastel
