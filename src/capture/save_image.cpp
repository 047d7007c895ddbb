#include "capture/save_image.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "canvas/poster.h"
#include "capture/poster_renderer.h"
#include "capture/print_page.h"
#include "platform/dialogs.h"
#include "platform/save_file.h"

namespace pastel {

namespace {

enum class ImageKind { Bmp, Png, Pdf };

// The order of the dialog's types: BMP first, the one chosen at first.
const QString kImageTypes = QStringLiteral("BMP(*.bmp);;PNG(*.png);;PDF(*.pdf)");
const ImageKind kKindOfType[] = {ImageKind::Bmp, ImageKind::Png, ImageKind::Pdf};

// A name that says what it is wins over the type chosen in the list: a
// teacher who types "share.png" means a PNG.
ImageKind kindFor(const QString& name, int type) {
  if (name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) return ImageKind::Png;
  if (name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) return ImageKind::Pdf;
  if (name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)) return ImageKind::Bmp;
  return type >= 0 && type < 3 ? kKindOfType[type] : ImageKind::Bmp;
}

void drawSurfaceSharp(const PaperSurface& surface, QPainter& painter, const QRectF& target) {
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  drawSurface(painter, surface, target);
}

}  // namespace

bool writeBmp(const QString& path, const QImage& image) {
  if (image.isNull() || path.isEmpty()) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // RGB32 goes out as 24 bits per pixel, the depth every reader knows.
  if (!image.convertToFormat(QImage::Format_RGB32).save(&file, "BMP")) {
    file.cancelWriting();
    return false;
  }
  return commitWhole(file);
}

bool writePng(const QString& path, const PaperSurface& surface) {
  if (path.isEmpty()) return false;
  QImage img(PaperSurface::kWidthPx * kPngScale, PaperSurface::kHeightPx * kPngScale,
             QImage::Format_RGB32);
  if (img.isNull()) return false;
  {
    QPainter painter(&img);
    drawSurfaceSharp(surface, painter, QRectF(img.rect()));
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !img.save(&file, "PNG")) return false;
  return commitWhole(file);
}

bool writePdf(const QString& path, const PaperSurface& surface) {
  if (path.isEmpty()) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QPdfWriter writer(&file);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setCreator(QStringLiteral("パステルボード"));
  PaperPrint what;
  what.grab = surface.image();
  what.drawSharp = [&surface](QPainter& painter, const QRectF& target) {
    drawSurfaceSharp(surface, painter, target);
  };
  QPainter painter;
  if (printScaledToPage(writer, painter, what).isEmpty()) return false;
  if (!painter.end()) return false;
  return commitWhole(file);
}

void saveAsImage(Poster& p) {
  p.selectionActive = 0;
  clearFrames(p);  // the frame is not part of the poster
  yieldToEvents(p);

  // In step 1 the paper itself takes the grab, lines and all.
  const bool onPaper = p.form.label5.caption == kStep1Title;
  PaperSurface& surface = onPaper ? p.form.paper : p.form.surface2;
  if (p.svc.capture) surface.setBackPicture(p.svc.capture->grabPaperPicture());
  (onPaper ? p.form.picture1 : p.form.picture2).visible = true;

  std::optional<SaveChoice> chosen;
  if (p.svc.dialogs) {
    FileDialogRequest request;
    request.title = QStringLiteral("画像で保存");
    request.filter = kImageTypes;
    // BMP adds nothing to the name typed; the others add their own ending.
    chosen = p.svc.dialogs->saveFileOfType(
        request, {QString(), QStringLiteral("png"), QStringLiteral("pdf")});
  }
  if (chosen && !chosen->path.isEmpty()) {
    // The name exactly as chosen.
    const QString& name = chosen->path;
    bool written = false;
    switch (kindFor(name, chosen->type)) {
      case ImageKind::Bmp:
        written = writeBmp(name, surface.image());
        break;
      case ImageKind::Png:
        written = writePng(name, surface);
        break;
      case ImageKind::Pdf:
        written = writePdf(name, surface);
        break;
    }
    if (!written) {
      MessageBoxText box;
      box.text = QStringLiteral("え を ほぞん できませんでした。");
      box.title = QStringLiteral("画像で保存");
      box.icon = MsgIcon::Exclamation;
      p.svc.dialogs->message(box);
    }
  }

  yieldToEvents(p);
  if (p.form.label5.caption != kStep4Title) p.form.picture2.visible = false;
}

}  // namespace pastel
