#include "capture/wall_print.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <map>

#include "canvas/poster.h"
#include "capture/poster_renderer.h"
#include "capture/print.h"
#include "capture/print_page.h"
#include "capture/wall_sheets.h"
#include "platform/dialogs.h"
#include "platform/gothic_font.h"
#include "platform/picture_loader.h"
#include "platform/printer.h"

namespace pastel {

namespace {

const QSizeF kPaper(PaperSurface::kWidthPx, PaperSurface::kHeightPx);
const QColor kMarkColour(0x70, 0x70, 0x70);

// Photos print at up to this many pixels an inch: sharp from a step away,
// and a camera photo enlarged once on 9 sheets needs only libjpeg's
// half-size decode for it, four times cheaper than the whole. All of them
// together hold no more than this many pixels (about 160 MB).
constexpr double kPhotoPpi = 160;
constexpr double kPhotoPixelBudget = 40e6;

QString placeOf(int row, int column) {
  return QStringLiteral("%1-%2").arg(row + 1).arg(column + 1);
}

// 2 or 3 sheets a side; 0 when the child says やめる or closes the window.
int askHowBig(Poster& p) {
  if (!p.svc.dialogs) return 0;
  ChoiceBox box;
  box.title = QStringLiteral("おおきく いんさつ");
  box.text = QStringLiteral("なんまい の かみ に いんさつ しますか？");
  box.buttons = {QStringLiteral("4まい"), QStringLiteral("9まい"), QStringLiteral("やめる")};
  box.cancelButton = 2;
  switch (p.svc.dialogs->choose(box)) {
    case 0:
      return 2;
    case 1:
      return 3;
    default:
      return 0;
  }
}

// The placed photos' pixels for the size the wall prints them at, one
// image each for every sheet: their files decoded again where that needs
// more pixels than the window decoded, else their own pixels scaled once.
PicturePixels printedPhotos(Poster& p, const WallLayout& wall, double dpi) {
  PicturePixels out;
  if (wall.scale <= 0) return out;
  const double perPixel = wall.scale * std::min(1.0, kPhotoPpi / dpi);
  struct Wanted {
    PictureRef picture;
    QSizeF size;
  };
  std::vector<Wanted> wanted;
  double total = 0;
  for (const Element& e : p.form.image3) {
    const PictureRef& pic = e.picture;
    if (!e.visible || !isPlaced(e) || !pic || pic->broken || pic->image.isNull()) continue;
    const QSizeF size = QSizeF(twipsToPixels(e.width), twipsToPixels(e.height)) * perPixel;
    wanted.push_back({pic, size});
    total += size.width() * size.height();
  }
  const double shrink = total > kPhotoPixelBudget ? std::sqrt(kPhotoPixelBudget / total) : 1.0;
  // Files in one batch for each size, decoded on the loader's threads.
  std::map<std::pair<int, int>, std::vector<PictureRef>> bySize;
  for (const Wanted& w : wanted) {
    const QSize size(std::max(1, int(std::ceil(w.size.width() * shrink))),
                     std::max(1, int(std::ceil(w.size.height() * shrink))));
    const QImage& own = w.picture->image;
    if (size.width() > own.width() && !w.picture->path.isEmpty() && p.svc.pictures)
      bySize[{size.width(), size.height()}].push_back(w.picture);
    else if (size.width() < own.width())
      out.emplace_back(w.picture, own.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
      out.emplace_back(w.picture, own);
  }
  for (const auto& [size, pictures] : bySize) {
    QStringList paths;
    for (const PictureRef& pic : pictures) paths << pic->path;
    std::vector<QImage> decoded(pictures.size());
    p.svc.pictures->loadEach(paths, QSize(size.first, size.second), [&](int i, PictureRef pic) {
      if (pic && !pic->broken) decoded[size_t(i)] = pic->image;
    });
    for (size_t i = 0; i < pictures.size(); ++i) {
      // A file that no longer decodes to more pixels prints what the window has.
      const QImage& own = pictures[i]->image;
      out.emplace_back(pictures[i], decoded[i].width() > own.width() ? decoded[i] : own);
    }
  }
  return out;
}

void drawArrow(QPainter& painter, QPointF tip, QPointF direction, double size) {
  const QPointF side(-direction.y(), direction.x());
  QPainterPath path;
  path.moveTo(tip);
  path.lineTo(tip - direction * size + side * size * 0.6);
  path.lineTo(tip - direction * size - side * size * 0.6);
  path.closeSubpath();
  painter.fillPath(path, kMarkColour);
}

// In the margin: cut marks at the edges of each band shared with a
// neighbour, the sheet's place, and an arrow with the place of each
// neighbour.
void drawSheetMarks(QPainter& painter, const WallLayout& wall, const WallSheet& s, double dpi) {
  const double mm = dpi / 25.4;
  const QRectF r = s.onPage;
  const double gap = 1 * mm, tick = wall.margin - 2 * mm;
  painter.save();
  painter.setClipping(false);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kMarkColour, 0.2 * mm));
  auto vertical = [&](double x) {
    painter.drawLine(QPointF(x, r.top() - gap), QPointF(x, r.top() - gap - tick));
    painter.drawLine(QPointF(x, r.bottom() + gap), QPointF(x, r.bottom() + gap + tick));
  };
  auto horizontal = [&](double y) {
    painter.drawLine(QPointF(r.left() - gap, y), QPointF(r.left() - gap - tick, y));
    painter.drawLine(QPointF(r.right() + gap, y), QPointF(r.right() + gap + tick, y));
  };
  if (s.left) vertical(r.left()), vertical(r.left() + wall.band);
  if (s.right) vertical(r.right() - wall.band), vertical(r.right());
  if (s.above) horizontal(r.top()), horizontal(r.top() + wall.band);
  if (s.below) horizontal(r.bottom() - wall.band), horizontal(r.bottom());

  QFont font = gothicFont(8, true);
  font.setPixelSize(std::max(1, int(3 * mm)));
  painter.setFont(font);
  painter.setPen(kMarkColour);
  const double m = wall.margin;
  // The sheet's own place in the top left corner.
  painter.drawText(QRectF(r.left() - m, r.top() - m, m, m), Qt::AlignCenter,
                   placeOf(s.row, s.column));
  const double arrow = 2 * mm;
  const QPointF centre = r.center();
  const QSizeF label(8 * mm, 3.5 * mm);
  if (s.right) {
    const QPointF tip(r.right() + gap + arrow, centre.y());
    drawArrow(painter, tip, {1, 0}, arrow);
    painter.drawText(QRectF(QPointF(r.right() + gap, tip.y() - arrow - label.height()), label),
                     Qt::AlignLeft | Qt::AlignBottom, placeOf(s.row, s.column + 1));
  }
  if (s.left) {
    const QPointF tip(r.left() - gap - arrow, centre.y());
    drawArrow(painter, tip, {-1, 0}, arrow);
    painter.drawText(
        QRectF(QPointF(r.left() - gap - label.width(), tip.y() - arrow - label.height()), label),
        Qt::AlignRight | Qt::AlignBottom, placeOf(s.row, s.column - 1));
  }
  if (s.below) {
    const QPointF tip(centre.x(), r.bottom() + gap + arrow);
    drawArrow(painter, tip, {0, 1}, arrow);
    painter.drawText(QRectF(QPointF(tip.x() + arrow, r.bottom() + gap), label),
                     Qt::AlignLeft | Qt::AlignVCenter, placeOf(s.row + 1, s.column));
  }
  if (s.above) {
    const QPointF tip(centre.x(), r.top() - gap - arrow);
    drawArrow(painter, tip, {0, -1}, arrow);
    painter.drawText(QRectF(QPointF(tip.x() + arrow, r.top() - gap - label.height()), label),
                     Qt::AlignLeft | Qt::AlignVCenter, placeOf(s.row - 1, s.column));
  }
  painter.restore();
}

}  // namespace

WallLayout wallLayoutOn(QPagedPaintDevice& page, int n) {
  page.setPageOrientation(orientationFor(kPaper));
  return wallLayout(kPaper, QSizeF(page.width(), page.height()), page.logicalDpiX(), n);
}

bool printWallSheets(QPagedPaintDevice& page, QPainter& painter, const PaperSurface& shown, int n,
                     const PicturePixels& finer, const std::function<void()>& betweenSheets) {
  const WallLayout wall = wallLayoutOn(page, n);
  if (wall.sheets.empty() || !painter.begin(&page)) return false;
  const double dpi = page.logicalDpiX();
  for (size_t i = 0; i < wall.sheets.size(); ++i) {
    const WallSheet& s = wall.sheets[i];
    if (i > 0) {
      if (betweenSheets) betweenSheets();
      if (!page.newPage()) return false;
    }
    const FinerPictures photos(finer);  // not while the window paints in a yield
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(s.onPage);
    // The whole poster placed so that this sheet's part lands on its place.
    const QRectF poster(s.onPage.topLeft() - s.source.topLeft() * wall.scale, kPaper * wall.scale);
    drawSurface(painter, shown, poster);
    painter.restore();
    drawSheetMarks(painter, wall, s, dpi);
  }
  return true;
}

void printWallPoster(Poster& p) {
  p.selectionActive = 0;
  clearFrames(p);  // the frame is not part of the poster
  yieldToEvents(p);

  const int n = askHowBig(p);
  if (n == 0) return;

  if (p.svc.capture) p.form.surface2.setBackPicture(p.svc.capture->grabPaperPicture());
  p.form.picture2.visible = true;

  if (!p.svc.printer) return;
  if (p.svc.printer->showSetupDialog() != PrinterSetup::Accepted) return;

  // The dialog ran the event loop: read again what Picture2 shows.
  Printer* printer = p.svc.printer;
  QPagedPaintDevice& page = *printer->device();
  const PaperSurface shown = p.form.surface2;
  const PicturePixels photos = printedPhotos(p, wallLayoutOn(page, n), page.logicalDpiX());
  yieldToEvents(p);

  QPainter painter;
  const bool drawn = printWallSheets(page, painter, shown, n, photos, [&p] { yieldToEvents(p); });
  const bool ended = painter.isActive() && painter.end();  // ends the document: the pages go
  const bool failed = printer->failed();
  if (!drawn || !ended || failed) tellPrintFailed(p);
  yieldToEvents(p);
}

}  // namespace pastel
