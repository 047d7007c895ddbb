#pragma once
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "form/element.h"
#include "form/main_form.h"
#include "platform/gothic_font.h"
#include "platform/qt_platform_widgets.h"
#include "platform/twips.h"

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
  std::function<void(int)> valueChanged;  // scroll bars and check boxes
  std::function<void(int)> activated;     // list and combo boxes: the entry chosen
};

// Forwards mouse presses, moves and releases of a widget to its events, in
// the coordinates of `origin` (the element's outer widget), each run as a
// handler through `run`. A move with no button held is forwarded only where
// the origin tracks the mouse (a thumbnail reacts to passing over it).
class MouseForwarder : public QObject {
 public:
  using Runner = std::function<void(const std::function<void()>&)>;
  MouseForwarder(QWidget* target, QWidget* origin, ElementEvents* events, Runner run);
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  QWidget* target_;
  QWidget* origin_;
  ElementEvents* events_;
  Runner run_;
};

// A label or kana key: its frame from the model; a kana key looks etched
// while the mouse button is down on it, whatever its handler does.
class LabelWidget : public QLabel {
 public:
  LabelWidget(QWidget* parent, ElementKind kind, std::function<void()> onClick);
  void setFrame(int style);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void showFrame(int style);
  ElementKind kind_;
  std::function<void()> onClick_;
  int frame_ = kNoFrame;
  bool down_ = false;
};

// An image element: its picture stretched to fill it at the screen's device
// pixels (what is transparent in it shows what lies beneath), a thin frame
// when selected.
class ImageWidget : public QWidget {
 public:
  explicit ImageWidget(QWidget* parent) : QWidget(parent) {}
  void setPicture(const PictureRef& p);
  void setBorder(int style);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  PictureRef picture_;
  QImage display_;  // the picture at this widget's device size, built on resize
  int border_ = 0;
};

// A picture box that shows a paper surface; on a screen of more than one
// device pixel per pixel, its lines drawn again at the device's pixels.
class SurfaceWidget : public QWidget {
 public:
  SurfaceWidget(QWidget* parent, const PaperSurface* surface)
      : QWidget(parent), surface_(surface) {}
  void refresh();
  const PaperSurface& surface() const { return *surface_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const PaperSurface* surface_;
  int shownRevision_ = -1;
  // The surface at the device's pixels, and what it was drawn from: a
  // stroke under way adds only its new marks.
  QImage cache_;
  int cacheRevision_ = -1;
  ColourValue cacheColour_ = 0;
  PictureRef cachePicture_;
  PaperMarks cacheMarks_;
};

// A multi-line text box that wraps at its width.
class TextBoxWidget : public QPlainTextEdit {
 public:
  explicit TextBoxWidget(QWidget* parent);
  std::function<void(bool in)> focusChanged;
  int displayedLineCount() const;
  // The model's text, put in only when it differs, the caret kept where it
  // was (clamped), so typing and a composition are never disturbed.
  void syncText(const QString& text);
  bool settingText() const { return settingText_; }

 protected:
  bool event(QEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  bool settingText_ = false;
};

// One widget per element of a window's form, synced from the model after
// every handler, touching only what changed. The one entry from a window to
// its handlers: input (clicks, presses, moves, releases, typing) runs them
// through the loop at once; focus changes and a scroll bar's changes while
// a handler runs (its auto-repeat) go through the loop's idle path. Typed
// text is written into the element first.
class FormBinder {
 public:
  FormBinder(QWidget* parent, QtEventLoop& loop);
  ~FormBinder();

  // Makes and binds the element's widget; a picture box shows `surface`.
  QWidget* add(Element& e, const PaperSurface* surface = nullptr);
  ElementEvents& on(const Element& e);
  QWidget* widgetFor(const Element& e) const;

  // backOf gives the colour an element shows (derived colours included).
  void sync(const std::function<ColourValue(const Element&)>& backOf);
  // No handler may run any more (the window is being torn down).
  void detach();
  bool syncing() const { return syncing_; }
  // Where input can land: every control's name, whether it is shown and
  // enabled, and its place.
  QByteArray inputTargets() const;

 private:
  struct Bound;
  void syncOne(Bound& b, bool force, ColourValue back);
  void restack();
  void scrolled(Bound& b, int value);
  void showWhereTheBarStopped(Bound& b);
  void run(const std::function<void()>& handler) { loop_.runHandler(handler); }
  QWidget* parent_;
  QtEventLoop& loop_;
  std::vector<std::unique_ptr<Bound>> bound_;
  std::map<const Element*, Bound*> byElement_;
  bool syncing_ = false;
};

}  // namespace pastel
