#include "app/main_window_view.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPicture>
#include <QScreen>
#include <algorithm>

#include "app/startup.h"

namespace pastel {

struct MainWindowView::Bound {
  Element* element = nullptr;
  QWidget* widget = nullptr;
  ElementEvents events;
  Element shown;  // what the widget was last synced to
  bool first = true;
};

MainWindowView::MainWindowView(Poster& poster) : poster_(poster) {
  setObjectName(QStringLiteral("Form1"));
  build();
}

MainWindowView::~MainWindowView() {
  // Closing the window moves the focus between its text boxes while they
  // are torn down: no handler may run on a half-destroyed view.
  for (auto& b : bound_) b->events = ElementEvents{};
  delete central_;
  central_ = nullptr;
}

void MainWindowView::build() {
  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("Form1Client"));
  central_->setFixedSize(int(MainForm::kClientWidth / kTwipsPerPixel),
                         int(MainForm::kClientHeight / kTwipsPerPixel));
  central_->setAutoFillBackground(true);
  QPalette pal = central_->palette();
  pal.setColor(QPalette::Window, QColor(0xe0, 0xe0, 0xe0));
  central_->setPalette(pal);
  setCentralWidget(central_);

  itemOpen_ = menuBar()->addAction(QStringLiteral("開く(&O)"));
  itemOpen_->setObjectName(QStringLiteral("Itemopen"));
  itemSetDir_ = menuBar()->addAction(QStringLiteral("設定(&D)"));
  itemSetDir_->setObjectName(QStringLiteral("ItemSetDir"));
  itemGazo_ = menuBar()->addAction(QStringLiteral("画像で保存(&G)"));
  itemGazo_->setObjectName(QStringLiteral("Itemgazo"));
  itemEnd_ = menuBar()->addAction(QStringLiteral("終了(&Q)"));
  itemEnd_->setObjectName(QStringLiteral("itemend"));
  connect(itemEnd_, &QAction::triggered, this, [this] { run([this] { confirmEnd(poster_); }); });

  poster_.form.forEach([this](Element& e) {
    auto b = std::make_unique<Bound>();
    b->element = &e;
    QWidget* w = nullptr;
    switch (e.kind) {
      case ElementKind::Button: {
        auto* btn = new QPushButton(central_);
        connect(btn, &QPushButton::clicked, this, [this, bp = b.get()] {
          if (bp->events.click) run(bp->events.click);
        });
        w = btn;
        break;
      }
      case ElementKind::Label:
      case ElementKind::KanaKey: {
        auto* l = new QLabel(central_);
        l->setAutoFillBackground(true);
        l->setWordWrap(true);
        w = l;
        break;
      }
      case ElementKind::Image:
        w = new ImageWidget(central_);
        break;
      case ElementKind::PictureBox:
        w = new SurfaceWidget(central_, &e == &poster_.form.picture2 ? &poster_.form.surface2
                                                                      : &poster_.form.paper);
        break;
      case ElementKind::TextBox: {
        auto* t = new TextBoxWidget(central_, &b->events);
        connect(t, &QPlainTextEdit::textChanged, this, [this, t, el = &e] {
          if (!syncing_) setTextFromWidget(*el, t->toPlainText());
        });
        w = t;
        break;
      }
      case ElementKind::HScroll:
      case ElementKind::VScroll:
      case ElementKind::CheckBox: {
        auto* s = new QScrollBar(e.kind == ElementKind::HScroll ? Qt::Horizontal : Qt::Vertical,
                                 central_);
        connect(s, &QScrollBar::valueChanged, this, [this, bp = b.get()](int v) {
          if (syncing_) return;
          bp->element->scroll.value = v;
          if (bp->events.scrolled) run([bp, v] { bp->events.scrolled(v); });
        });
        w = s;
        break;
      }
    }
    w->setObjectName(e.name);
    if (e.kind == ElementKind::Image || e.kind == ElementKind::PictureBox ||
        e.kind == ElementKind::TextBox)
      new MouseForwarder(e.kind == ElementKind::TextBox
                             ? static_cast<QPlainTextEdit*>(w)->viewport()
                             : w,
                         &b->events);
    b->widget = w;
    byElement_[&e] = b.get();
    bound_.push_back(std::move(b));
  });
  sync();
  setWindowTitle(poster_.form.caption);
}

ElementEvents& MainWindowView::on(const Element& e) { return byElement_.at(&e)->events; }

QWidget* MainWindowView::widgetFor(const Element& e) const {
  auto it = byElement_.find(&e);
  return it == byElement_.end() ? nullptr : it->second->widget;
}

void MainWindowView::run(const std::function<void()>& handler) {
  handler();
  sync();
}

void MainWindowView::setTextFromWidget(Element& e, const QString& text) {
  if (e.caption == text) return;
  e.caption = text;
  Bound* b = byElement_.at(&e);
  b->shown.caption = text;
  if (b->events.textChanged) run(b->events.textChanged);
}

void MainWindowView::syncOne(Bound& b, bool force) {
  const Element& e = *b.element;
  Element& s = b.shown;
  QWidget* w = b.widget;
  if (force || pixelRect(e) != pixelRect(s)) w->setGeometry(pixelRect(e));
  if (force || e.enabled != s.enabled) w->setEnabled(e.enabled);
  const bool colours = force || e.foreColor != s.foreColor || e.backColor != s.backColor;
  const bool font = force || e.fontSize != s.fontSize || e.fontBold != s.fontBold;
  switch (e.kind) {
    case ElementKind::Button: {
      auto* btn = static_cast<QPushButton*>(w);
      if (force || e.caption != s.caption) btn->setText(e.caption);
      if (colours) {
        QPalette pal = btn->palette();
        pal.setColor(QPalette::Button, toQColor(e.backColor));
        // The disabled group keeps its grey text, so a disabled button looks it.
        for (auto g : {QPalette::Active, QPalette::Inactive})
          pal.setColor(g, QPalette::ButtonText, toQColor(e.foreColor));
        btn->setPalette(pal);
      }
      if (font) btn->setFont(gothicFont(e.fontSize, e.fontBold));
      break;
    }
    case ElementKind::Label:
    case ElementKind::KanaKey: {
      auto* l = static_cast<QLabel*>(w);
      if (force || e.caption != s.caption) l->setText(e.caption);
      if (force || e.centred != s.centred)
        l->setAlignment(e.centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
      if (colours) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, toQColor(e.backColor));
        pal.setColor(QPalette::WindowText, toQColor(e.foreColor));
        l->setPalette(pal);
      }
      if (font) l->setFont(gothicFont(e.fontSize, e.fontBold));
      if (force || e.borderStyle != s.borderStyle)
        l->setFrameStyle(e.borderStyle ? (QFrame::Panel | QFrame::Raised) : QFrame::NoFrame);
      break;
    }
    case ElementKind::Image: {
      auto* iw = static_cast<ImageWidget*>(w);
      iw->setPicture(e.picture);
      iw->setBorder(e.borderStyle);
      break;
    }
    case ElementKind::PictureBox:
      static_cast<SurfaceWidget*>(w)->refresh();
      break;
    case ElementKind::TextBox: {
      auto* t = static_cast<TextBoxWidget*>(w);
      if (t->toPlainText() != e.caption) t->setPlainText(e.caption);
      if (colours) {
        QPalette pal = t->palette();
        pal.setColor(QPalette::Base, toQColor(e.backColor));
        pal.setColor(QPalette::Text, toQColor(e.foreColor));
        t->setPalette(pal);
      }
      if (font) t->setFont(gothicFont(e.fontSize, false));
      if (force || e.borderStyle != s.borderStyle)
        t->setFrameShape(e.borderStyle ? QFrame::Box : QFrame::NoFrame);
      break;
    }
    case ElementKind::HScroll:
    case ElementKind::VScroll:
    case ElementKind::CheckBox: {
      auto* sb = static_cast<QScrollBar*>(w);
      const ScrollRange& r = e.scroll;
      const ScrollRange& o = s.scroll;
      if (!force && r.min == o.min && r.max == o.max && r.value == o.value &&
          r.smallChange == o.smallChange && r.largeChange == o.largeChange && r.value == sb->value())
        break;
      sb->setRange(r.min, r.max);
      sb->setSingleStep(r.smallChange);
      sb->setPageStep(r.largeChange);
      sb->setValue(r.value);
      break;
    }
  }
  if (force || e.visible != s.visible) w->setVisible(e.visible);
  s = e;
}

void MainWindowView::restack() {
  std::vector<Bound*> order;
  for (auto& b : bound_) order.push_back(b.get());
  std::stable_sort(order.begin(), order.end(), [](const Bound* a, const Bound* b) {
    if (a->element->layer != b->element->layer) return a->element->layer < b->element->layer;
    return a->element->z < b->element->z;
  });
  for (Bound* b : order) b->widget->raise();
}

void MainWindowView::sync() {
  syncing_ = true;
  bool zChanged = false;
  for (auto& b : bound_) {
    if (b->first || b->element->z != b->shown.z || b->element->layer != b->shown.layer)
      zChanged = true;
    syncOne(*b, b->first);
    b->first = false;
  }
  if (zChanged) restack();
  if (windowTitle() != poster_.form.caption) setWindowTitle(poster_.form.caption);
  syncing_ = false;
}

QImage MainWindowView::renderPaper() {
  sync();
  const QRect r(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx, PaperSurface::kHeightPx);
  QImage img = central_->grab(r).toImage().convertToFormat(QImage::Format_RGB32);
  if (img.size() != r.size())
    img = img.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  img.setDevicePixelRatio(1);
  return img;
}

void MainWindowView::drawPaper(QPainter& painter, const QRectF& target) {
  sync();
  const QRect r(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx, PaperSurface::kHeightPx);
  // Rendered straight onto a printer, Qt would rasterise the widgets at its
  // full resolution; recorded first, text stays text.
  QPicture recorded;
  QPainter recorder(&recorded);
  central_->render(&recorder, QPoint(0, 0), QRegion(r));
  recorder.end();
  // A picture replays scaled by the device's resolution against its own.
  const QPaintDevice* device = painter.device();
  painter.save();
  painter.setClipRect(target);
  painter.translate(target.topLeft());
  painter.scale(target.width() / r.width() * recorded.logicalDpiX() / device->logicalDpiX(),
                target.height() / r.height() * recorded.logicalDpiY() / device->logicalDpiY());
  painter.drawPicture(0, 0, recorded);
  painter.restore();
}

void MainWindowView::closeEvent(QCloseEvent* e) {
  // Closing the frame asks like "おわり": a slip must not lose the poster.
  bool yes = false;
  run([&] { yes = confirmEnd(poster_); });
  if (yes)
    e->accept();
  else
    e->ignore();
}

}  // namespace pastel
