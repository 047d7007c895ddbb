#pragma once
#include <QImage>
#include <QString>
#include <functional>

class QPainter;
class QRectF;

namespace pastel {

class Dialogs;
class KeyInjector;
class PictureLoader;
class Printer;

// Lets the window system run pending events; the Qt version first brings
// the widgets up to date with the model.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  virtual void yield() = 0;
  // Runs f as a handler once none is running: for what arrives on its own
  // (a picture decoded on the loader's threads), never inside a yield.
  virtual void whenIdle(std::function<void()> f) { f(); }
};

// Screen size and the way out of the process.
class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual float screenWidthTwips() const = 0;
  virtual float screenHeightTwips() const = 0;
  virtual void terminate() = 0;  // ends the program at once, no questions
};

// A picture of the paper rectangle exactly as the main window shows it.
class PaperCapture {
 public:
  virtual ~PaperCapture() = default;
  virtual QImage grabPaper() = 0;
  // Draws the same rectangle as the window shows it now into `target`, at
  // the painter's resolution; false where only the grab's pixels can be had.
  virtual bool drawPaper(QPainter&, const QRectF&) { return false; }
};

// Everything the handlers reach outside the model. Not owned.
struct Services {
  Dialogs* dialogs = nullptr;
  EventLoop* loop = nullptr;
  Desktop* desktop = nullptr;
  PaperCapture* capture = nullptr;
  PictureLoader* pictures = nullptr;
  QString executableFolder;  // where the running program lives
  Printer* printer = nullptr;
  // The word editor's key strokes.
  KeyInjector* keys = nullptr;
};

}  // namespace pastel
