#include "capture/save_image.h"

#include <QSaveFile>

#include "canvas/poster.h"
#include "platform/dialogs.h"

namespace pastel {

bool writeBmp(const QString& path, const QImage& image) {
  if (image.isNull() || path.isEmpty()) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // RGB32 goes out as 24 bits per pixel, the depth every reader knows.
  if (!image.convertToFormat(QImage::Format_RGB32).save(&file, "BMP")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
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

  std::optional<QString> name;
  if (p.svc.dialogs) {
    FileDialogRequest request;
    request.title = QStringLiteral("画像で保存");
    request.filter = QStringLiteral("BMP(*.bmp)");
    name = p.svc.dialogs->saveFile(request);
  }
  // The name exactly as chosen: no extension is added.
  if (name && !writeBmp(*name, surface.image())) {
    MessageBoxText box;
    box.text = QStringLiteral("え を ほぞん できませんでした。");
    box.title = QStringLiteral("画像で保存");
    box.icon = MsgIcon::Exclamation;
    p.svc.dialogs->message(box);
  }

  yieldToEvents(p);
  if (p.form.label5.caption != kStep4Title) p.form.picture2.visible = false;
}

}  // namespace pastel
