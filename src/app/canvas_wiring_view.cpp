#include "app/pastel_app_view.h"
#include "canvas/clearing.h"
#include "canvas/lines.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"

namespace pastel {

void wireCanvas(MainWindowView& view, Poster& p) {
  MainForm& f = p.form;
  // The binder runs each mouse event as a handler and syncs after it.
  for (int i = 0; i < kStripCells; ++i) {
    // A thumbnail reacts to the mouse passing over it, no button needed.
    if (QWidget* w = view.widgetFor(f.image1[size_t(i)])) w->setMouseTracking(true);
    view.on(f.image1[size_t(i)]).move = [&p, i](Qt::MouseButtons, float x, float y) {
      floatPhotoSlot(p, i, x, y);
    };
  }
  view.on(f.vscroll1).valueChanged = [&p](int v) { scrollPictureStrip(p, v); };
  view.on(f.hscroll1).valueChanged = [&p](int v) { setBrushSize(p, v); };

  for (int i = 0; i <= kOverflowSlot; ++i) {
    ElementEvents& ev = view.on(f.image3[size_t(i)]);
    ev.press = [&p, i](Qt::MouseButtons, float, float) { pressPhoto(p, i); };
    ev.move = [&p, i](Qt::MouseButtons, float x, float y) { movePhoto(p, i, true, x, y); };
    ev.release = [&p, i](Qt::MouseButtons, float, float) { releasePhoto(p, i); };
  }
  view.on(f.command1).click = [&p] { makePhotoSmaller(p); };
  view.on(f.command2).click = [&p] { makePhotoBigger(p); };

  for (auto [element, surface] :
       {std::pair{&f.picture1, &f.paper}, std::pair{&f.picture2, &f.surface2}}) {
    ElementEvents& ev = view.on(*element);
    ev.press = [&p, s = surface](Qt::MouseButtons, float x, float y) { penPress(p, *s, x, y); };
    ev.move = [&p, s = surface](Qt::MouseButtons, float x, float y) { penMove(p, *s, x, y); };
    ev.release = [&p](Qt::MouseButtons, float, float) { penRelease(p); };
  }

  view.on(f.command19).click = [&p] { clearPaper(p); };
  view.on(f.command10).click = [&p] { clearPhotos(p); };
  view.on(f.command9).click = [&p] { clearWords(p); };
}

}  // namespace pastel
