#pragma once
#include <QImage>
#include <QRect>
#include <QRectF>
#include <memory>
#include <utility>
#include <vector>

#include "form/main_form.h"
#include "platform/services.h"

class QPainter;

namespace pastel {

struct PosterContent;

// The poster drawn without widgets: the paper with its lines, photos and
// words, back to front, onto any painter at any scale. At the paper's own
// 707 x 499 pixels it gives what the window shows at 1x; on more device
// pixels (a 2x screen, a printer) lines, photos and words are drawn at the
// device's resolution, never enlarged from the paper's pixels.

// One thing on the paper, its place in the window's pixels.
struct PaperItem {
  enum Kind { Surface, Image, Word } kind = Image;
  QRect rect;
  std::shared_ptr<const PaperSurface> surface;  // Surface: a picture box's colour, picture, lines
  PictureRef picture;                           // Image
  int border = 0;                               // Image and Word: kThinFrame when selected
  QString text;                                 // Word
  float fontSize = 0;
  ColourValue fore = 0, back = 0;
};
using PaperScene = std::vector<PaperItem>;

// What the paper rectangle shows now, as the window stacks it; the word
// editor and kana pad over it are no part of the poster.
PaperScene sceneOf(const MainForm& f);
// A poster's content as it lies on its snapshot: each kind's placed slots
// (photos, then words), each kind in its stack order.
PaperScene sceneOf(const PosterContent& c);

// The paper rectangle drawn into `target`.
void drawScene(QPainter& p, const PaperScene& scene, const QRectF& target);
// The paper at its own size, 707 x 499 RGB32.
QImage renderScene(const PaperScene& scene);
// A grab: renderScene's pixels, drawn again from the scene at any other
// resolution.
PictureRef grabPicture(const PaperScene& scene);

// A picture box's surface into `target`: its own pixels at 1:1, otherwise
// its colour, picture and marks at the device's resolution.
void drawSurface(QPainter& p, const PaperSurface& s, const QRectF& target);
// The picture at `px` device pixels: scaled smoothly from its pixels, or
// drawn again where it can (a grab). Transparent where the picture is.
QImage pictureAt(const Picture& pic, QSize px);
// A placed picture's broken-file card and selection frame over `rect`
// (painter units are window pixels).
void drawPictureMarks(QPainter& p, const Picture* pic, const QRect& rect, int border);

// While one lives, the pictures it lists are drawn from its pixels instead
// of their own wherever the renderer draws at a resolution of its own: a
// wall poster prints its photos far larger than a page does, decoded again
// from their files, and one image each for all its sheets. One at a time,
// UI thread only.
using PicturePixels = std::vector<std::pair<PictureRef, QImage>>;
class FinerPictures {
 public:
  explicit FinerPictures(const PicturePixels& pixels);
  ~FinerPictures();
  FinerPictures(const FinerPictures&) = delete;
  FinerPictures& operator=(const FinerPictures&) = delete;
  const QImage* pixelsOf(const Picture* pic) const;

 private:
  const PicturePixels& pixels_;
  FinerPictures* outer_;
};

// The paper grab of the running program: the renderer on the main form.
class RendererCapture : public PaperCapture {
 public:
  explicit RendererCapture(const MainForm& form) : form_(form) {}
  QImage grabPaper() override { return renderScene(sceneOf(form_)); }
  PictureRef grabPaperPicture() override { return grabPicture(sceneOf(form_)); }

 private:
  const MainForm& form_;
};

}  // namespace pastel
