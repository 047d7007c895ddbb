#include "app/palette_view.h"

#include <QCloseEvent>

namespace pastel {

PaletteWindow::PaletteWindow(PaletteForm& model, QtEventLoop& loop)
    : QWidget(nullptr, Qt::Tool), model_(model), loop_(loop) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("いろ"));
  setFixedSize(twipsToPixels(PaletteForm::kClientWidth), twipsToPixels(PaletteForm::kClientHeight));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0xd4, 0xd0, 0xc8));
  setPalette(pal);
  binder_ = std::make_unique<FormBinder>(this, loop);
  model_.forEach([this](Element& e) { binder_->add(e); });
  sync();
}

PaletteWindow::~PaletteWindow() { binder_->detach(); }

void PaletteWindow::sync() {
  binder_->sync([this](const Element& e) { return model_.shownBackColor(e); });
  const QPoint at(twipsToPixels(model_.left), twipsToPixels(model_.top));
  if (model_.created && at != movedTo_) {
    move(at);
    movedTo_ = at;
  }
  if (model_.visible != isVisible()) setVisible(model_.visible);
  if (model_.visible) raise();
}

void PaletteWindow::closeEvent(QCloseEvent* e) {
  e->ignore();  // the model hides it
  if (onClose) loop_.whenIdle([this] { onClose(); });
}

}  // namespace pastel
