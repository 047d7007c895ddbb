#include "form/main_form.h"

#include <QPainter>

namespace pastel {

namespace {

QImage solid(ColourValue c) {
  QImage img(PaperSurface::kWidthPx, PaperSurface::kHeightPx, QImage::Format_RGB32);
  const ColourValue r = resolveColour(c);
  img.fill(QColor(redOf(r), greenOf(r), blueOf(r)));
  return img;
}

}  // namespace

PaperSurface::PaperSurface() : image_(solid(backColor_)) {}

void PaperSurface::repaint() {
  image_ = solid(backColor_);
  if (backPicture_ && !backPicture_->image.isNull()) {
    // A picture box shows its picture at natural size from the top left.
    QPainter p(&image_);
    p.drawImage(0, 0, backPicture_->image);
  }
  ++revision_;
}

void PaperSurface::setBackColor(ColourValue c) {
  backColor_ = c;
  repaint();
}

void PaperSurface::setBackPicture(PictureRef pic) {
  backPicture_ = std::move(pic);
  repaint();
}

void PaperSurface::restore(ColourValue c, PictureRef p, const QImage& shown) {
  backColor_ = c;
  backPicture_ = std::move(p);
  if (shown.size() == QSize(kWidthPx, kHeightPx)) {
    // Shared until the next dot.
    image_ = shown.format() == QImage::Format_RGB32 ? shown
                                                     : shown.convertToFormat(QImage::Format_RGB32);
    ++revision_;
  } else {
    repaint();
  }
}

void PaperSurface::paintDot(int x, int y, int radius, ColourValue colour) {
  const ColourValue r = resolveColour(colour);
  const QColor c(redOf(r), greenOf(r), blueOf(r));
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(c);
  p.setBrush(c);
  p.drawEllipse(QPoint(x, y), radius, radius);
  ++revision_;
}

void PaperSurface::paintSegment(QPoint from, QPoint to, int radius, ColourValue colour) {
  const ColourValue r = resolveColour(colour);
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, false);
  // 2r + 1 pixels: the rows and columns a dot of radius r covers.
  p.setPen(QPen(QColor(redOf(r), greenOf(r), blueOf(r)), 2 * radius + 1, Qt::SolidLine,
                Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  ++revision_;
}

void initElement(Element& e, const QString& name, ElementKind kind, const char* caption, Rect r,
                 const Look& look, Start start) {
  e.name = name;
  e.kind = kind;
  e.left = r.left;
  e.top = r.top;
  e.width = r.width;
  e.height = r.height;
  e.caption = QString::fromUtf8(caption);
  e.fontSize = look.fontSize;
  e.fontBold = look.bold;
  e.foreColor = look.fore;
  e.backColor = look.back;
  e.centred = look.centred;
  e.layer = look.layer;
  e.borderStyle = look.border;
  e.scroll = look.scroll;
  e.verticalScrollBar = look.verticalScrollBar;
  e.visible = start != Start::Hidden;
  e.enabled = start != Start::ShownDisabled;
}

MainForm::MainForm() : caption(QStringLiteral("パステルボード")) {
  PASTEL_FORM_INIT(PASTEL_MAIN_FORM_TABLE)
  for (size_t k = 0; k < kKanaKeys.size(); ++k) {
    label1[k].caption = QString::fromUtf8(kKanaKeys[k].caption);
    label1[k].backColor = kKanaKeys[k].back;
    label1[k].fontSize = kKanaKeys[k].fontSize;
  }
  forEach([this](Element& e) { bringToFront(e); });
}

ColourValue MainForm::shownBackColor(const Element& e) const {
  if (&e == &picture1 || &e == &command12) return paper.backColor();
  return e.backColor;
}

Element* MainForm::find(const QString& name) {
  Element* hit = nullptr;
  forEach([&](Element& e) {
    if (e.name == name) hit = &e;
  });
  return hit;
}

}  // namespace pastel
