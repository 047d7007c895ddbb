#pragma once
#include <QImage>
#include <QRectF>
#include <QString>
#include <functional>

#include "platform/picture.h"

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
  // Where a window that does not fit the screen at 1x is centred, drawn
  // smaller: the screen less its panels, twips. Empty where it fits.
  virtual QRectF fittedAreaTwips() const { return {}; }
  virtual void terminate() = 0;  // ends the program at once, no questions
};

// A picture of the paper rectangle exactly as the main window shows it.
class PaperCapture {
 public:
  virtual ~PaperCapture() = default;
  virtual QImage grabPaper() = 0;
  // The grab as a picture; where the capture can, one that draws itself
  // again sharper at another resolution.
  virtual PictureRef grabPaperPicture() { return pictureFromImage(grabPaper()); }
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
