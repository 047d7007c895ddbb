#include "app/pastel_app_view.h"
#include "canvas/clearing.h"
#include "canvas/lines.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"

namespace pastel {

void wireCanvas(MainWindowView& view, Poster& p) {
  MainForm& f = p.form;
  MainWindowView* v = &view;
  // Mouse events arrive straight from the widgets; run() brings the view up
  // to date after each, as for clicks.

  for (int i = 0; i < 10; ++i) {
    // A thumbnail reacts to the mouse passing over it, no button needed.
    if (QWidget* w = view.widgetFor(f.image1[size_t(i)])) w->setMouseTracking(true);
    view.on(f.image1[size_t(i)]).move = [v, &p, i](Qt::MouseButtons, float x, float y) {
      v->run([&] { floatPhotoSlot(p, i, x, y); });
    };
  }
  view.on(f.vscroll1).valueChanged = [&p](int v) { scrollPictureStrip(p, v); };
  view.on(f.hscroll1).valueChanged = [&p](int v) { setBrushSize(p, v); };

  for (int i = 0; i <= 10; ++i) {
    ElementEvents& ev = view.on(f.image3[size_t(i)]);
    ev.press = [v, &p, i](Qt::MouseButtons, float, float) { v->run([&] { pressPhoto(p, i); }); };
    ev.move = [v, &p, i](Qt::MouseButtons b, float x, float y) {
      if (b == Qt::NoButton) return;  // nothing to do: spare the sync
      v->run([&] { movePhoto(p, i, true, x, y); });
    };
    ev.release = [v, &p, i](Qt::MouseButtons, float, float) {
      v->run([&] { releasePhoto(p, i); });
    };
  }
  view.on(f.command1).click = [&p] { makePhotoSmaller(p); };
  view.on(f.command2).click = [&p] { makePhotoBigger(p); };

  for (auto [element, surface] :
       {std::pair{&f.picture1, &f.paper}, std::pair{&f.picture2, &f.surface2}}) {
    ElementEvents& ev = view.on(*element);
    ev.press = [v, &p, s = surface](Qt::MouseButtons, float x, float y) {
      v->run([&] { penPress(p, *s, x, y); });
    };
    ev.move = [v, &p, s = surface](Qt::MouseButtons, float x, float y) {
      if (p.penDown != 1) return;
      v->run([&] { penMove(p, *s, x, y); });
    };
    ev.release = [v, &p](Qt::MouseButtons, float, float) { v->run([&] { penRelease(p); }); };
  }

  view.on(f.command19).click = [&p] { clearPaper(p); };
  view.on(f.command10).click = [&p] { clearPhotos(p); };
  view.on(f.command9).click = [&p] { clearWords(p); };
}

}  // namespace pastel
