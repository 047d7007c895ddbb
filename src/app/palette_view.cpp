#include "app/palette_view.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>

#include "app/element_widgets_view.h"

namespace pastel {

namespace {
class SwatchLabel : public QLabel {
 public:
  SwatchLabel(QWidget* parent, std::function<void()> onClick)
      : QLabel(parent), onClick_(std::move(onClick)) {}

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) onClick_();
  }

 private:
  std::function<void()> onClick_;
};
}  // namespace

PaletteWindow::PaletteWindow(Palette& model, std::function<void(int)> onSwatch,
                             std::function<void()> onOk)
    : QWidget(nullptr, Qt::Tool), model_(model) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("いろ"));
  setFixedSize(int(Palette::kClientWidth / kTwipsPerPixel),
               int(Palette::kClientHeight / kTwipsPerPixel));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0xd4, 0xd0, 0xc8));
  setPalette(pal);
  for (int k = 0; k < 24; ++k) {
    auto* l = new SwatchLabel(this, [onSwatch, k] { onSwatch(k); });
    l->setObjectName(model.label3[k].name);
    l->setGeometry(pixelRect(model.label3[k]));
    l->setAutoFillBackground(true);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette lp = l->palette();
    lp.setColor(QPalette::Window, toQColor(model.label3[k].backColor));
    l->setPalette(lp);
    swatches_[k] = l;
  }
  ok_ = new QPushButton(model.command12.caption, this);
  ok_->setObjectName(model.command12.name);
  ok_->setGeometry(pixelRect(model.command12));
  ok_->setFont(gothicFont(model.command12.fontSize, model.command12.fontBold));
  connect(ok_, &QPushButton::clicked, this, [onOk] { onOk(); });
  sync();
}

void PaletteWindow::sync() {
  paintButton(ok_, model_.command12.backColor, model_.command12.foreColor);
  if (model_.visible && !placed_) {
    move(int(model_.left / kTwipsPerPixel), int(model_.top / kTwipsPerPixel));
    placed_ = true;
  }
  if (model_.visible != isVisible()) setVisible(model_.visible);
  if (model_.visible) raise();
}

void PaletteWindow::closeEvent(QCloseEvent* e) {
  // The frame's close box only hides it: the pick is kept.
  model_.visible = false;
  e->accept();
}

}  // namespace pastel
