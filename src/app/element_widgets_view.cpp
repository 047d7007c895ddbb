#include "app/element_widgets_view.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

namespace pastel {

QRect pixelRect(const Element& e) {
  return QRect(twipsToPixels(e.left), twipsToPixels(e.top), twipsToPixels(e.width),
               twipsToPixels(e.height));
}

QColor toQColor(ColourValue c) {
  const ColourValue r = resolveColour(c);
  return QColor(redOf(r), greenOf(r), blueOf(r));
}

MouseForwarder::MouseForwarder(QWidget* target, ElementEvents* events)
    : QObject(target), events_(events) {
  target->installEventFilter(this);
}

bool MouseForwarder::eventFilter(QObject*, QEvent* ev) {
  const auto t = ev->type();
  if (t != QEvent::MouseButtonPress && t != QEvent::MouseMove && t != QEvent::MouseButtonRelease &&
      t != QEvent::MouseButtonDblClick)
    return false;
  auto* me = static_cast<QMouseEvent*>(ev);
  const float x = float(me->position().x() * kTwipsPerPixel);
  const float y = float(me->position().y() * kTwipsPerPixel);
  if ((t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) && events_->press) {
    events_->press(me->buttons(), x, y);
  } else if (t == QEvent::MouseMove && events_->move) {
    events_->move(me->buttons(), x, y);
    // A drag moves the element; a text box must not also select text.
    if (me->buttons() != Qt::NoButton) return true;
  } else if (t == QEvent::MouseButtonRelease && events_->release) {
    events_->release(me->buttons(), x, y);
  }
  return false;
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
  if (picture_ && picture_->broken) {
    // A file that could not be read: a grey card with a red cross.
    p.fillRect(rect(), QColor(0xc0, 0xc0, 0xc0));
    p.setPen(QPen(QColor(0xe0, 0x00, 0x00), 3));
    const QRect r = rect().adjusted(width() / 4, height() / 4, -width() / 4, -height() / 4);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
  } else if (picture_ && !picture_->image.isNull() &&
             p.paintEngine()->type() != QPaintEngine::Raster) {
    // Printing: the decoded pixels, up to four times the screen's, not the
    // screen-sized copy.
    const QSize most = size() * 4;
    const QImage& img = picture_->image;
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), img.width() > most.width() || img.height() > most.height()
                            ? img.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                            : img);
  } else if (picture_ && !picture_->image.isNull()) {
    const QSize px = size() * devicePixelRatioF();
    if (display_.size() != px) {
      // Scaled once per size, so a drag only blits.
      display_ = picture_->image.scaled(px, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      display_.setDevicePixelRatio(devicePixelRatioF());
    }
    p.drawImage(0, 0, display_);
  }
  if (border_ == 1) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void SurfaceWidget::refresh() {
  if (surface_->revision() == shownRevision_) return;
  shownRevision_ = surface_->revision();
  update();
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);  // smooth when printed larger
  p.drawImage(rect(), surface_->image());
}

TextBoxWidget::TextBoxWidget(QWidget* parent, ElementEvents* events)
    : QPlainTextEdit(parent), events_(events) {
  setFrameShape(QFrame::NoFrame);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  document()->setDocumentMargin(1);
}

int TextBoxWidget::displayedLineCount() const {
  int lines = 0;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
    lines += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
  return std::max(1, lines);
}

void TextBoxWidget::focusInEvent(QFocusEvent* e) {
  QPlainTextEdit::focusInEvent(e);
  if (events_->focusIn) events_->focusIn();
}

void TextBoxWidget::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  // No highlight left behind for a grab of the poster to pick up.
  QTextCursor c = textCursor();
  if (c.hasSelection()) {
    c.clearSelection();
    setTextCursor(c);
  }
  if (events_->focusOut) events_->focusOut();
}

}  // namespace pastel
