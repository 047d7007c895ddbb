#include "app/element_widgets_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <utility>

#include "capture/poster_renderer.h"

namespace pastel {

QRect pixelRect(const Element& e) {
  return QRect(twipsToPixels(e.left), twipsToPixels(e.top), twipsToPixels(e.width),
               twipsToPixels(e.height));
}

QColor toQColor(ColourValue c) {
  const ColourValue r = resolveColour(c);
  return QColor(redOf(r), greenOf(r), blueOf(r));
}

void paintButton(QPushButton* b, ColourValue back, ColourValue fore) {
  QPalette pal = b->palette();
  pal.setColor(QPalette::Button, toQColor(back));
  // The disabled group keeps its grey text, so a disabled button looks it.
  for (auto g : {QPalette::Active, QPalette::Inactive})
    pal.setColor(g, QPalette::ButtonText, toQColor(fore));
  b->setPalette(pal);
  if (isSystemColour(back)) {
    if (!b->styleSheet().isEmpty()) b->setStyleSheet(QString());
    return;
  }
  const QColor bg = toQColor(back);
  const bool dark = 0.299 * bg.red() + 0.587 * bg.green() + 0.114 * bg.blue() < 140;
  const QColor text =
      isSystemColour(fore) ? (dark ? QColor(Qt::white) : QColor(Qt::black)) : toQColor(fore);
  b->setStyleSheet(QStringLiteral("QPushButton{background:%1;color:%2;border:2px solid #707070;"
                                  "border-radius:4px}"
                                  "QPushButton:pressed{border:3px solid #404040}"
                                  "QPushButton:disabled{color:rgba(%3,%3,%3,120)}")
                       .arg(bg.name(), text.name(), QString::number(dark ? 255 : 0)));
}

MouseForwarder::MouseForwarder(QWidget* target, QWidget* origin, ElementEvents* events, Runner run)
    : QObject(target), target_(target), origin_(origin), events_(events), run_(std::move(run)) {
  target->installEventFilter(this);
}

bool MouseForwarder::eventFilter(QObject*, QEvent* ev) {
  const auto t = ev->type();
  if (t != QEvent::MouseButtonPress && t != QEvent::MouseMove && t != QEvent::MouseButtonRelease &&
      t != QEvent::MouseButtonDblClick)
    return false;
  auto* me = static_cast<QMouseEvent*>(ev);
  // In the element's own outer coordinates: a text box's inner area moves
  // when its frame comes and goes, the element does not.
  const QPointF at = target_ == origin_
                         ? me->position()
                         : QPointF(target_->mapTo(origin_, me->position().toPoint()));
  const float x = float(at.x() * kTwipsPerPixel);
  const float y = float(at.y() * kTwipsPerPixel);
  const Qt::MouseButtons held = me->buttons();
  ElementEvents* e = events_;
  if ((t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) && e->press) {
    run_([e, held, x, y] { e->press(held, x, y); });
  } else if (t == QEvent::MouseMove && e->move) {
    if (held != Qt::NoButton || origin_->hasMouseTracking())
      run_([e, held, x, y] { e->move(held, x, y); });
    // A drag moves the element; a text box must not also select text.
    if (held != Qt::NoButton) return true;
  } else if (t == QEvent::MouseButtonRelease && e->release) {
    run_([e, held, x, y] { e->release(held, x, y); });
  }
  return false;
}

LabelWidget::LabelWidget(QWidget* parent, ElementKind kind, std::function<void()> onClick)
    : QLabel(parent), kind_(kind), onClick_(std::move(onClick)) {
  setAutoFillBackground(true);
  setWordWrap(true);
}

void LabelWidget::setFrame(int style) {
  frame_ = style;
  showFrame(down_ && kind_ == ElementKind::KanaKey ? kEtchedFrame : style);
}

void LabelWidget::showFrame(int style) {
  switch (style) {
    case kThinFrame:
      setFrameStyle(QFrame::Box | QFrame::Plain);
      break;
    case kRaisedFrame:
      setFrameStyle(QFrame::Panel | QFrame::Raised);
      break;
    case kEtchedFrame:
      setFrameStyle(QFrame::Panel | QFrame::Sunken);
      break;
    default:
      setFrameStyle(QFrame::NoFrame);
      break;
  }
}

void LabelWidget::mousePressEvent(QMouseEvent* e) {
  down_ = true;
  setFrame(frame_);
  QLabel::mousePressEvent(e);
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* e) {
  const bool inside = rect().contains(e->position().toPoint());
  // A release whose press was dropped (it came while a handler changed the
  // controls) is no click.
  const bool pressed = std::exchange(down_, false);
  setFrame(frame_);
  QLabel::mouseReleaseEvent(e);
  if (pressed && inside && e->button() == Qt::LeftButton) onClick_();
}

void ImageWidget::setPicture(const PictureRef& p) {
  if (p == picture_) return;
  picture_ = p;
  display_ = QImage();
  update();
}

void ImageWidget::setBorder(int style) {
  if (style == border_) return;
  border_ = style;
  update();
}

void ImageWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (picture_ && !picture_->broken && !picture_->image.isNull()) {
    // The pixels of what is painted on, the screen or a grab at 1x.
    const QSize px = p.deviceTransform().mapRect(QRectF(rect())).size().toSize();
    if (display_.size() != px)  // made once per size, so a drag only blits
      display_ = pictureAt(*picture_, px);
    p.drawImage(QRectF(rect()), display_);
  }
  drawPictureMarks(p, picture_.get(), rect(), border_);
}

void SurfaceWidget::refresh() {
  if (surface_->revision() == shownRevision_) return;
  shownRevision_ = surface_->revision();
  update();
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const qreal dpr = p.device()->devicePixelRatioF();
  if (dpr == 1) {
    drawSurface(p, *surface_, QRectF(rect()));
    return;
  }
  const QSize px = (QSizeF(size()) * dpr).toSize();
  const PaperSurface& s = *surface_;
  const PaperMarks& marks = s.marks();
  const bool sameBase = cache_.size() == px && cacheColour_ == s.backColor() &&
                        cachePicture_ == s.backPicture() && marks.known() && cacheMarks_.known() &&
                        cacheMarks_.sameRunAs(marks) && cacheMarks_.size() <= marks.size();
  if (sameBase && cacheMarks_.size() < marks.size()) {
    QPainter c(&cache_);
    c.scale(double(px.width()) / PaperSurface::kWidthPx,
            double(px.height()) / PaperSurface::kHeightPx);
    for (size_t i = cacheMarks_.size(); i < marks.size(); ++i) paintMark(c, marks[i], true);
  } else if (!sameBase && (cache_.size() != px || cacheRevision_ != s.revision())) {
    cache_ = QImage(px, QImage::Format_RGB32);
    QPainter c(&cache_);
    drawSurface(c, s, QRectF(cache_.rect()));
  }
  cacheRevision_ = s.revision();
  cacheColour_ = s.backColor();
  cachePicture_ = s.backPicture();
  cacheMarks_ = marks;
  QImage shown = cache_;
  shown.setDevicePixelRatio(dpr);
  p.drawImage(0, 0, shown);
}

TextBoxWidget::TextBoxWidget(QWidget* parent) : QPlainTextEdit(parent) {
  setFrameShape(QFrame::NoFrame);
  // A one-pixel frame, as the line count assumes.
  setFrameShadow(QFrame::Plain);
  setLineWidth(1);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setUndoRedoEnabled(false);
  document()->setDocumentMargin(1);
}

int TextBoxWidget::displayedLineCount() const {
  int lines = 0;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
    lines += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
  return std::max(1, lines);
}

void TextBoxWidget::syncText(const QString& text) {
  if (toPlainText() == text) return;
  const int caret = textCursor().position();
  settingText_ = true;
  setPlainText(text);
  settingText_ = false;
  QTextCursor c = textCursor();
  c.setPosition(std::min(caret, int(document()->characterCount()) - 1));
  setTextCursor(c);
}

bool TextBoxWidget::event(QEvent* e) {
  // Ctrl+Z and Ctrl+Y take back the poster's changes, not a box's typing:
  // left to the window's shortcuts.
  if (e->type() == QEvent::ShortcutOverride) {
    const auto* k = static_cast<QKeyEvent*>(e);
    const bool ctrlY = k->modifiers() == Qt::ControlModifier && k->key() == Qt::Key_Y;
    if (k->matches(QKeySequence::Undo) || k->matches(QKeySequence::Redo) || ctrlY) {
      e->ignore();
      return true;
    }
  }
  return QPlainTextEdit::event(e);
}

void TextBoxWidget::focusInEvent(QFocusEvent* e) {
  QPlainTextEdit::focusInEvent(e);
  if (focusChanged) focusChanged(true);
}

void TextBoxWidget::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  // No highlight left behind for a grab of the poster to pick up.
  QTextCursor c = textCursor();
  if (c.hasSelection()) {
    c.clearSelection();
    setTextCursor(c);
  }
  if (focusChanged) focusChanged(false);
}

struct FormBinder::Bound {
  Element* element = nullptr;
  QWidget* widget = nullptr;
  ElementEvents events;
  Element shown;  // what the widget was last synced to
  ColourValue shownBack = 0;
  bool first = true;
  // A scroll bar's value that came while a handler ran, and whether the
  // child still holds the bar: its release shows where it stopped.
  std::optional<int> barValue;
  bool barHeld = false;
};

namespace {
// Tells the binder when the child presses and lets go of a scroll bar.
class BarWatcher : public QObject {
 public:
  BarWatcher(QWidget* bar, std::function<void(bool held)> changed)
      : QObject(bar), changed_(std::move(changed)) {
    bar->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonPress) changed_(true);
    if (e->type() == QEvent::MouseButtonRelease) changed_(false);
    return false;
  }

 private:
  std::function<void(bool)> changed_;
};

// What the child aims at: not the poster's own photos, words and paper,
// which a drag moves under the pointer, nor captions.
bool isControl(ElementKind k) {
  return k != ElementKind::Label && k != ElementKind::Image && k != ElementKind::PictureBox &&
         k != ElementKind::TextBox;
}
}  // namespace

FormBinder::FormBinder(QWidget* parent, QtEventLoop& loop) : parent_(parent), loop_(loop) {}

FormBinder::~FormBinder() = default;

void FormBinder::detach() {
  for (auto& b : bound_) b->events = ElementEvents{};
}

QWidget* FormBinder::add(Element& e, const PaperSurface* surface) {
  auto b = std::make_unique<Bound>();
  Bound* bp = b.get();
  b->element = &e;
  ElementEvents* events = &b->events;
  // Handlers are looked up at the time of the event: wiring comes later.
  auto runEvent = [this, events](std::function<void()> ElementEvents::*which) {
    if (events->*which) run(events->*which);
  };
  auto valueChanged = [this, events](int v) {
    if (syncing_ || !events->valueChanged) return;
    run([events, v] { events->valueChanged(v); });
  };
  QWidget* w = nullptr;
  QWidget* mouseTarget = nullptr;
  switch (e.kind) {
    case ElementKind::Button: {
      auto* btn = new QPushButton(parent_);
      QObject::connect(btn, &QPushButton::clicked, btn,
                       [runEvent] { runEvent(&ElementEvents::click); });
      w = btn;
      break;
    }
    case ElementKind::Label:
    case ElementKind::KanaKey: {
      w = mouseTarget =
          new LabelWidget(parent_, e.kind, [runEvent] { runEvent(&ElementEvents::click); });
      break;
    }
    case ElementKind::Image:
      w = mouseTarget = new ImageWidget(parent_);
      break;
    case ElementKind::PictureBox:
      w = mouseTarget = new SurfaceWidget(parent_, surface);
      break;
    case ElementKind::TextBox: {
      auto* t = new TextBoxWidget(parent_);
      t->focusChanged = [this, events](bool in) {
        const auto which = in ? &ElementEvents::focusIn : &ElementEvents::focusOut;
        if (events->*which)
          loop_.whenIdle([events, which] {
            if (events->*which) (events->*which)();
          });
      };
      QObject::connect(t, &QPlainTextEdit::textChanged, t, [this, t, bp] {
        // Only syncText's own change comes from the model. Anything else was
        // typed, even during a sync: an input method commits its composition
        // when a sync hides the box it was typing into.
        if (t->settingText() || bp->element->caption == t->toPlainText()) return;
        // The one two-way binding: typed text goes into the model first.
        bp->element->caption = t->toPlainText();
        bp->shown.caption = bp->element->caption;
        if (bp->events.textChanged && !syncing_) run(bp->events.textChanged);
      });
      w = t;
      mouseTarget = t->viewport();
      break;
    }
    case ElementKind::HScroll:
    case ElementKind::VScroll: {
      auto* s =
          new QScrollBar(e.kind == ElementKind::HScroll ? Qt::Horizontal : Qt::Vertical, parent_);
      QObject::connect(s, &QScrollBar::valueChanged, s, [this, bp](int v) { scrolled(*bp, v); });
      new BarWatcher(s, [this, bp, s](bool held) {
        bp->barHeld = held;
        // Once the bar has handled the release, which stops its auto-repeat.
        if (!held && bp->barValue)
          QTimer::singleShot(
              0, s, [this, bp] { loop_.whenIdle([this, bp] { showWhereTheBarStopped(*bp); }); });
      });
      w = s;
      break;
    }
    case ElementKind::CheckBox: {
      auto* c = new QCheckBox(parent_);
      QObject::connect(c, &QCheckBox::stateChanged, c,
                       [valueChanged](int state) { valueChanged(state == Qt::Checked ? 1 : 0); });
      w = c;
      break;
    }
    case ElementKind::ListBox: {
      auto* l = new QListWidget(parent_);
      QObject::connect(l, &QListWidget::itemActivated, l, [this, l, events](QListWidgetItem* item) {
        const int row = l->row(item);
        if (!syncing_ && events->activated) run([events, row] { events->activated(row); });
      });
      w = l;
      break;
    }
    case ElementKind::ComboBox: {
      auto* c = new QComboBox(parent_);
      QObject::connect(c, &QComboBox::activated, c, [this, events](int index) {
        if (!syncing_ && events->activated) run([events, index] { events->activated(index); });
      });
      w = c;
      break;
    }
    case ElementKind::LineEdit: {
      auto* t = new QLineEdit(parent_);
      // Typed text goes into the model first, as in a text box.
      QObject::connect(t, &QLineEdit::textEdited, t, [this, bp](const QString& text) {
        bp->element->caption = text;
        bp->shown.caption = text;
        if (!syncing_ && bp->events.textChanged) run(bp->events.textChanged);
      });
      w = t;
      break;
    }
  }
  w->setObjectName(e.name);
  if (mouseTarget)
    new MouseForwarder(mouseTarget, w, events, [this](const std::function<void()>& h) { run(h); });
  b->widget = w;
  byElement_[&e] = bp;
  bound_.push_back(std::move(b));
  return w;
}

ElementEvents& FormBinder::on(const Element& e) { return byElement_.at(&e)->events; }

QWidget* FormBinder::widgetFor(const Element& e) const {
  auto it = byElement_.find(&e);
  return it == byElement_.end() ? nullptr : it->second->widget;
}

void FormBinder::syncOne(Bound& b, bool force, ColourValue back) {
  const Element& e = *b.element;
  Element& s = b.shown;
  QWidget* w = b.widget;
  if (force || pixelRect(e) != pixelRect(s)) w->setGeometry(pixelRect(e));
  if (force || e.enabled != s.enabled) w->setEnabled(e.enabled);
  const bool colours = force || e.foreColor != s.foreColor || back != b.shownBack;
  const bool font = force || e.fontSize != s.fontSize || e.fontBold != s.fontBold;
  switch (e.kind) {
    case ElementKind::Button: {
      auto* btn = static_cast<QPushButton*>(w);
      if (force || e.caption != s.caption) btn->setText(e.caption);
      if (colours) paintButton(btn, back, e.foreColor);
      if (font) btn->setFont(gothicFont(e.fontSize, e.fontBold));
      break;
    }
    case ElementKind::Label:
    case ElementKind::KanaKey: {
      auto* l = static_cast<LabelWidget*>(w);
      if (force || e.caption != s.caption) l->setText(e.caption);
      if (force || e.centred != s.centred)
        l->setAlignment(e.centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
      if (colours) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, toQColor(back));
        pal.setColor(QPalette::WindowText, toQColor(e.foreColor));
        l->setPalette(pal);
      }
      if (font) l->setFont(gothicFont(e.fontSize, e.fontBold));
      if (force || e.borderStyle != s.borderStyle) l->setFrame(e.borderStyle);
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
      t->syncText(e.caption);
      if (colours) {
        QPalette pal = t->palette();
        pal.setColor(QPalette::Base, toQColor(back));
        pal.setColor(QPalette::Text, toQColor(e.foreColor));
        t->setPalette(pal);
      }
      if (font) t->setFont(gothicFont(e.fontSize, false));
      if (force || e.borderStyle != s.borderStyle)
        t->setFrameShape(e.borderStyle ? QFrame::Box : QFrame::NoFrame);
      if (force || e.verticalScrollBar != s.verticalScrollBar)
        t->setVerticalScrollBarPolicy(e.verticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
      break;
    }
    case ElementKind::HScroll:
    case ElementKind::VScroll: {
      auto* sb = static_cast<QScrollBar*>(w);
      const ScrollRange& r = e.scroll;
      const ScrollRange& o = s.scroll;
      if (!force && r.min == o.min && r.max == o.max && r.value == o.value &&
          r.smallChange == o.smallChange && r.largeChange == o.largeChange &&
          (r.value == sb->value() || b.barValue))
        break;
      sb->setRange(r.min, r.max);
      sb->setSingleStep(r.smallChange);
      sb->setPageStep(r.largeChange);
      sb->setValue(r.value);
      break;
    }
    case ElementKind::CheckBox: {
      auto* c = static_cast<QCheckBox*>(w);
      if (force || e.caption != s.caption) c->setText(e.caption);
      if (c->isChecked() != (e.value != 0)) c->setChecked(e.value != 0);
      if (font) c->setFont(gothicFont(e.fontSize, e.fontBold));
      break;
    }
    case ElementKind::ListBox: {
      auto* l = static_cast<QListWidget*>(w);
      if (force || e.items != s.items) {
        l->clear();
        l->addItems(e.items);
      }
      if (l->currentRow() != e.current) l->setCurrentRow(e.current);
      if (font) w->setFont(gothicFont(e.fontSize, e.fontBold));
      break;
    }
    case ElementKind::ComboBox: {
      auto* c = static_cast<QComboBox*>(w);
      if (force || e.items != s.items) {
        c->clear();
        c->addItems(e.items);
      }
      if (c->currentIndex() != e.current) c->setCurrentIndex(e.current);
      if (font) w->setFont(gothicFont(e.fontSize, e.fontBold));
      break;
    }
    case ElementKind::LineEdit: {
      auto* t = static_cast<QLineEdit*>(w);
      if (t->text() != e.caption) t->setText(e.caption);
      if (font) w->setFont(gothicFont(e.fontSize, e.fontBold));
      break;
    }
  }
  if (force || e.visible != s.visible) {
    // A text box hidden with the focus would keep it (it does not pass it
    // on), and with it the keyboard and an input method's composition.
    if (!e.visible && w->hasFocus()) w->clearFocus();
    w->setVisible(e.visible);
  }
  s = e;
  b.shownBack = back;
}

// Ticks of the bar's auto-repeat that come while a handler runs (the strip
// filling) wait, the last one only, until it has returned and the child has
// let go: the strip then shows the page where the bar stopped.
void FormBinder::scrolled(Bound& b, int value) {
  if (syncing_ || !b.events.valueChanged) return;
  if (!loop_.handlerRunning()) {
    b.barValue.reset();
    run([&b, value] { b.events.valueChanged(value); });
    return;
  }
  const bool waiting = b.barValue.has_value();
  b.barValue = value;
  if (!waiting) loop_.whenIdle([this, &b] { showWhereTheBarStopped(b); });
}

void FormBinder::showWhereTheBarStopped(Bound& b) {
  if (!b.barValue || b.barHeld) return;  // the release comes back here
  const int value = *std::exchange(b.barValue, std::nullopt);
  if (b.events.valueChanged) b.events.valueChanged(value);
}

QByteArray FormBinder::inputTargets() const {
  QByteArray out;
  for (const auto& b : bound_) {
    const Element& e = *b->element;
    if (!isControl(e.kind)) continue;
    const QRect r = pixelRect(e);
    out += e.name.toUtf8() + (e.visible ? '+' : '-') + (e.enabled ? '+' : '-') +
           QByteArray::number(r.x()) + ',' + QByteArray::number(r.y()) + ',' +
           QByteArray::number(r.width()) + ',' + QByteArray::number(r.height()) + ';';
  }
  return out;
}

void FormBinder::restack() {
  std::vector<Bound*> order;
  for (auto& b : bound_) order.push_back(b.get());
  std::stable_sort(order.begin(), order.end(), [](const Bound* a, const Bound* b) {
    if (a->element->layer != b->element->layer) return a->element->layer < b->element->layer;
    return a->element->z < b->element->z;
  });
  for (Bound* b : order) b->widget->raise();
}

void FormBinder::sync(const std::function<ColourValue(const Element&)>& backOf) {
  // A focus handler run from inside a sync syncs again; the outer one goes on.
  const bool outer = !syncing_;
  syncing_ = true;
  bool zChanged = false;
  for (auto& b : bound_) {
    if (b->first || b->element->z != b->shown.z || b->element->layer != b->shown.layer)
      zChanged = true;
    syncOne(*b, b->first, backOf ? backOf(*b->element) : b->element->backColor);
    b->first = false;
  }
  if (zChanged) restack();
  if (outer) syncing_ = false;
}

}  // namespace pastel
