#pragma once
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <functional>

#include "form/element.h"
#include "form/main_form.h"
#include "form/twips.h"
#include "platform/gothic_font.h"

namespace pastel {

QRect pixelRect(const Element& e);
QColor toQColor(ColourValue c);

// A button in its colours. One given its own back colour (a chosen paper or
// line colour) is painted flat in it, not in the style's gradient, with a
// caption that stays readable on it unless the caption has its own colour.
void paintButton(QPushButton* b, ColourValue back, ColourValue fore);

// What an element's widget reports, positions in twips inside the element.
struct ElementEvents {
  std::function<void()> click;
  std::function<void(Qt::MouseButtons, float, float)> press, move, release;
  std::function<void()> textChanged, focusIn, focusOut;
  std::function<void(int)> scrolled;
};

// Forwards mouse presses, moves and releases of a widget to its events.
class MouseForwarder : public QObject {
 public:
  MouseForwarder(QWidget* target, ElementEvents* events);
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  ElementEvents* events_;
};

// An image element: its picture stretched to fill it, a thin frame when
// selected.
class ImageWidget : public QWidget {
 public:
  explicit ImageWidget(QWidget* parent) : QWidget(parent) {}
  void setPicture(const PictureRef& p);
  void setBorder(int style);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  PictureRef picture_;
  QImage display_;  // the picture at this widget's size, built on resize
  int border_ = 0;
};

// A picture box that shows a paper surface.
class SurfaceWidget : public QWidget {
 public:
  SurfaceWidget(QWidget* parent, const PaperSurface* surface)
      : QWidget(parent), surface_(surface) {}
  void refresh();

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const PaperSurface* surface_;
  int shownRevision_ = -1;
};

// A multi-line text box that wraps at its width.
class TextBoxWidget : public QPlainTextEdit {
 public:
  TextBoxWidget(QWidget* parent, ElementEvents* events);
  int displayedLineCount() const;

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  ElementEvents* events_;
};

}  // namespace pastel
