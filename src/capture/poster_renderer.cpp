#include "capture/poster_renderer.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>

#include "canvas/poster_content.h"
#include "platform/gothic_font.h"

namespace pastel {

namespace {

const QRect kPaperRect(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx, PaperSurface::kHeightPx);
const QColor kWindowBack(0xe0, 0xe0, 0xe0);  // the window's own background

FinerPictures* finer = nullptr;

QColor qcolour(ColourValue c) {
  const ColourValue r = resolveColour(c);
  return QColor(redOf(r), greenOf(r), blueOf(r));
}

QRect pixelsOf(float left, float top, float width, float height) {
  return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
               twipsToPixels(height));
}

// True where one painter unit is one device pixel (the window at 1x, the
// paper grab), so pixels are drawn as they are.
bool oneToOne(const QPainter& p) { return p.deviceTransform().type() <= QTransform::TxTranslate; }

QSize deviceSize(const QPainter& p, const QRectF& r) {
  return p.deviceTransform().mapRect(r).size().toSize();
}

void drawImageItem(QPainter& p, const PaperItem& item) {
  const Picture* pic = item.picture.get();
  if (pic && !pic->broken && !pic->image.isNull()) {
    if (oneToOne(p)) {
      // As the window scales it once per size.
      p.drawImage(item.rect.topLeft(),
                  pic->image.size() == item.rect.size()
                      ? pic->image
                      : pic->image.scaled(item.rect.size(), Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation));
    } else if (pic->drawSharp) {
      p.save();
      p.setClipRect(item.rect, Qt::IntersectClip);
      pic->drawSharp(p, QRectF(item.rect));
      p.restore();
    } else if (const QImage* fine = finer ? finer->pixelsOf(pic) : nullptr) {
      // Decoded for this size: one image for every page it lies on.
      p.save();
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(QRectF(item.rect), *fine);
      p.restore();
    } else {
      // The decoded pixels, as many as the device shows, at most four times
      // the window's: a page needs no more, and a PDF keeps them all.
      const QSize most = (item.rect.size() * 4).boundedTo(deviceSize(p, item.rect) + QSize(1, 1));
      const QImage& img = pic->image;
      p.save();
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(QRectF(item.rect),
                  img.width() > most.width() || img.height() > most.height()
                      ? img.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                      : img);
      p.restore();
    }
  }
  drawPictureMarks(p, pic, item.rect, item.border);
}

// A word as its text box shows it: the frame colour behind, a one-pixel
// frame when selected, the text wrapped at the box's width from a one-pixel
// margin. Laid out at the screen's metrics whatever the device, so a page
// breaks the lines where the window does and keeps text as text.
void drawWord(QPainter& p, const PaperItem& item) {
  const int frame = item.border ? 1 : 0;
  const QRect inner = item.rect.adjusted(frame, frame, -frame, -frame);
  p.save();
  p.fillRect(inner, qcolour(item.back));
  if (frame) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(item.rect.adjusted(0, 0, -1, -1));
  }
  p.setClipRect(inner, Qt::IntersectClip);
  p.setPen(qcolour(item.fore));
  const QFont font = gothicFont(item.fontSize, false);
  constexpr double kMargin = 1;
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  double y = kMargin;
  for (const QString& paragraph : item.text.split(QLatin1Char('\n'))) {
    QTextLayout layout(paragraph, font);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLeadingIncluded(true);
      line.setLineWidth(inner.width() - 2 * kMargin);
      line.setPosition(QPointF(kMargin, y));
      y += line.height();
    }
    layout.endLayout();
    layout.draw(&p, inner.topLeft());
    if (y > inner.height()) break;
  }
  p.restore();
}

void drawItem(QPainter& p, const PaperItem& item) {
  switch (item.kind) {
    case PaperItem::Surface:
      drawSurface(p, *item.surface, QRectF(item.rect));
      break;
    case PaperItem::Image:
      drawImageItem(p, item);
      break;
    case PaperItem::Word:
      drawWord(p, item);
      break;
  }
}

PaperItem wordItem(QRect rect, const QString& text, float fontSize, ColourValue fore,
                   ColourValue back, int border) {
  PaperItem w;
  w.kind = PaperItem::Word;
  w.rect = rect;
  w.text = text;
  w.fontSize = fontSize;
  w.fore = fore;
  w.back = back;
  w.border = border;
  return w;
}

PaperItem imageItem(QRect rect, PictureRef picture, int border) {
  PaperItem i;
  i.kind = PaperItem::Image;
  i.rect = rect;
  i.picture = std::move(picture);
  i.border = border;
  return i;
}

// A slot as its kind draws it.
template <class K>
PaperItem slotItem(const Element& e) {
  const QRect rect = pixelsOf(e.left, e.top, e.width, e.height);
  switch (K::kDrawing) {
    case Drawing::Picture:
      return imageItem(rect, e.picture, e.borderStyle);
    case Drawing::Words:
      return wordItem(rect, e.caption, e.fontSize, e.foreColor, e.backColor, e.borderStyle);
  }
  return {};
}

}  // namespace

PaperScene sceneOf(const MainForm& f) {
  struct Shown {
    const Element* e;
    PaperItem item;
  };
  std::vector<Shown> shown;
  auto add = [&](const Element& e, PaperItem item) {
    if (e.visible && item.rect.intersects(kPaperRect)) shown.push_back({&e, std::move(item)});
  };
  auto image = [&](const Element& e) {
    add(e, imageItem(pixelsOf(e.left, e.top, e.width, e.height), e.picture, e.borderStyle));
  };
  auto surface = [&](const Element& e, const PaperSurface& s) {
    PaperItem item;
    item.kind = PaperItem::Surface;
    item.rect = pixelsOf(e.left, e.top, e.width, e.height);
    item.surface = std::make_shared<const PaperSurface>(s);
    add(e, std::move(item));
  };
  image(f.image2);
  surface(f.picture1, f.paper);
  surface(f.picture2, f.surface2);
  forEachKind([&](auto k) {
    using K = decltype(k);
    for (const Element& e : f.*K::kSlotsOf) add(e, slotItem<K>(e));
  });
  // Stacked as the window stacks its widgets.
  std::stable_sort(shown.begin(), shown.end(), [](const Shown& a, const Shown& b) {
    if (a.e->layer != b.e->layer) return a.e->layer < b.e->layer;
    return a.e->z < b.e->z;
  });
  PaperScene scene;
  for (Shown& s : shown) scene.push_back(std::move(s.item));
  return scene;
}

PaperScene sceneOf(const PosterContent& c) {
  PaperScene scene;
  scene.push_back(imageItem(kPaperRect, c.paper.snapshot, 0));
  forEachKind([&](auto k) {
    using K = decltype(k);
    for (std::int16_t n : c.*K::kContentOrder) {
      if (n < 0 || n >= kSlots) continue;
      Element e;
      K::toElement((c.*K::kContents)[size_t(n)], e);
      if (isPlaced(e)) scene.push_back(slotItem<K>(e));
    }
  });
  return scene;
}

void drawScene(QPainter& p, const PaperScene& scene, const QRectF& target) {
  p.save();
  p.setClipRect(target, Qt::IntersectClip);
  p.translate(target.topLeft());
  p.scale(target.width() / kPaperRect.width(), target.height() / kPaperRect.height());
  p.translate(-kPaperRect.topLeft());  // the window's own pixels from here
  p.fillRect(kPaperRect, kWindowBack);
  for (const PaperItem& item : scene) drawItem(p, item);
  p.restore();
}

QImage renderScene(const PaperScene& scene) {
  QImage img(kPaperRect.size(), QImage::Format_RGB32);
  QPainter p(&img);
  drawScene(p, scene, QRectF(img.rect()));
  return img;
}

PictureRef grabPicture(const PaperScene& scene) {
  auto pic = std::make_shared<Picture>(*pictureFromImage(renderScene(scene)));
  pic->drawSharp = [kept = std::make_shared<const PaperScene>(scene)](
                       QPainter& p, const QRectF& r) { drawScene(p, *kept, r); };
  return pic;
}

void drawSurface(QPainter& p, const PaperSurface& s, const QRectF& target) {
  const QSize own(PaperSurface::kWidthPx, PaperSurface::kHeightPx);
  p.save();
  p.setClipRect(target, Qt::IntersectClip);
  if ((oneToOne(p) && target.size() == QSizeF(own)) || !s.marks().known()) {
    p.setRenderHint(QPainter::SmoothPixmapTransform);  // smooth when printed larger
    p.drawImage(target, s.image());
    p.restore();
    return;
  }
  const double sx = target.width() / own.width(), sy = target.height() / own.height();
  p.fillRect(target, qcolour(s.backColor()));
  if (const Picture* pic = s.backPicture().get(); pic && !pic->image.isNull()) {
    // At natural size from the top left, as the surface's pixels have it.
    const QRectF at(target.topLeft(), QSizeF(pic->image.width() * sx, pic->image.height() * sy));
    if (pic->drawSharp) {
      pic->drawSharp(p, at);
    } else {
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawImage(at, pic->image);
    }
  }
  p.translate(target.topLeft());
  p.scale(sx, sy);
  for (size_t i = 0; i < s.marks().size(); ++i) paintMark(p, s.marks()[i], true);
  p.restore();
}

QImage pictureAt(const Picture& pic, QSize px) {
  if (pic.image.size() == px || px.isEmpty()) return pic.image;
  if (!pic.drawSharp) return pic.image.scaled(px, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QImage out(px, QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  QPainter p(&out);
  pic.drawSharp(p, QRectF(out.rect()));
  return out;
}

FinerPictures::FinerPictures(const PicturePixels& pixels) : pixels_(pixels), outer_(finer) {
  finer = this;
}

FinerPictures::~FinerPictures() { finer = outer_; }

const QImage* FinerPictures::pixelsOf(const Picture* pic) const {
  for (const auto& [ref, image] : pixels_)
    if (ref.get() == pic && !image.isNull()) return &image;
  return outer_ ? outer_->pixelsOf(pic) : nullptr;
}

void drawPictureMarks(QPainter& p, const Picture* pic, const QRect& rect, int border) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  if (pic && pic->broken) {
    // A file that could not be read: a grey card with a red cross.
    p.fillRect(rect, QColor(0xc0, 0xc0, 0xc0));
    p.setPen(QPen(QColor(0xe0, 0x00, 0x00), 3));
    const QRect r =
        rect.adjusted(rect.width() / 4, rect.height() / 4, -rect.width() / 4, -rect.height() / 4);
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
  }
  if (border == kThinFrame) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
  }
  p.restore();
}

}  // namespace pastel
