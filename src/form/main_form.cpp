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

void paintMark(QPainter& p, const PaperMark& m, bool smooth) {
  const ColourValue r = resolveColour(m.colour);
  const QColor c(redOf(r), greenOf(r), blueOf(r));
  p.setRenderHint(QPainter::Antialiasing, smooth);
  if (!smooth) {
    // Aliased, as a picture box paints: a dot covers 2r + 1 pixels.
    if (m.from == m.to) {
      p.setPen(c);
      p.setBrush(c);
      p.drawEllipse(m.from, m.radius, m.radius);
    } else {
      p.setPen(QPen(c, 2 * m.radius + 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(m.from, m.to);
    }
    return;
  }
  // The same shapes around the pixels' centres.
  const QPointF half(0.5, 0.5);
  const double r2 = m.radius + 0.5;
  if (m.from == m.to) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(m.from) + half, r2, r2);
  } else {
    p.setPen(QPen(c, 2 * r2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(m.from) + half, QPointF(m.to) + half);
  }
}

void PaperMarks::append(const PaperMark& m) {
  if (!known_) return;
  if (!all_ || all_->size() != count_) {
    // Another copy holds marks past ours (or none are held yet): ours alone.
    auto own = std::make_shared<std::vector<PaperMark>>();
    if (all_) own->assign(all_->begin(), all_->begin() + std::ptrdiff_t(count_));
    all_ = std::move(own);
  }
  all_->push_back(m);
  ++count_;
}

PaperSurface::PaperSurface() : image_(solid(backColor_)), marks_(PaperMarks::none()) {}

void PaperSurface::repaint() {
  image_ = solid(backColor_);
  if (backPicture_ && !backPicture_->image.isNull()) {
    // A picture box shows its picture at natural size from the top left.
    QPainter p(&image_);
    p.drawImage(0, 0, backPicture_->image);
  }
  marks_ = PaperMarks::none();
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

void PaperSurface::restore(ColourValue c, PictureRef p, const QImage& shown,
                           const PaperMarks& marks) {
  backColor_ = c;
  backPicture_ = std::move(p);
  if (shown.size() == QSize(kWidthPx, kHeightPx)) {
    // Shared until the next dot.
    image_ = shown.format() == QImage::Format_RGB32 ? shown
                                                    : shown.convertToFormat(QImage::Format_RGB32);
    marks_ = marks;
    ++revision_;
  } else {
    repaint();
  }
}

void PaperSurface::paint(const PaperMark& m) {
  QPainter p(&image_);
  paintMark(p, m, false);
  marks_.append(m);
  ++revision_;
}

void PaperSurface::paintDot(int x, int y, int radius, ColourValue colour) {
  paint({QPoint(x, y), QPoint(x, y), radius, colour});
}

void PaperSurface::paintSegment(QPoint from, QPoint to, int radius, ColourValue colour) {
  if (from == to) return;
  paint({from, to, radius, colour});
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
