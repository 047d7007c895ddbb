#include "steps/open_poster.h"

#include <QFileInfo>

#include "canvas/poster.h"
#include "canvas/poster_content.h"
#include "platform/dialogs.h"
#include "steps/save_poster.h"
#include "steps/wizard.h"
#include "storage/poster_thumbnail.h"
#include "storage/read_poster.h"

namespace pastel {

OpenResult openPosterFile(Poster& p, const QString& path) {
  // What the file does not hold stays: the paper's colour, whether each
  // photo slot was enlarged, and the paper code when the file has none.
  PosterRead r = readPosterFile(path, p.svc.pictures, takePosterContent(p));
  if (!r.content) return {OpenStatus::Refused, r.error};
  applyPosterContent(p, *r.content);
  for (int i = 0; i < kSlots; ++i) {
    if (isPlaced(p.form.image3[size_t(i)])) p.form.image3[size_t(i)].visible = true;
    if (isPlaced(p.form.text1[size_t(i)])) p.form.text1[size_t(i)].visible = true;
  }
  yieldToEvents(p);
  yieldToEvents(p);
  showOpenedStep(p);
  yieldToEvents(p);
  return {OpenStatus::Opened, {}};
}

OpenResult openPoster(Poster& p) {
  yieldToEvents(p);
  OpenResult r{OpenStatus::Cancelled, {}};
  if (!p.svc.dialogs) return r;
  FileDialogRequest request;
  request.filter = QStringLiteral("MDB(*.mdb)");
  request.directory = saveDialogFolder(p);
  // Each poster shows as its paper, so a child who cannot read the names
  // yet finds theirs. The dialog's call ends before the loader does.
  PictureLoader* loader = p.svc.pictures;
  const FilePicture picture = [loader](const QString& path) {
    return loader ? posterIcon(path, *loader) : QImage();
  };
  const std::optional<QString> chosen = p.svc.dialogs->openFileShowingPictures(request, picture);
  if (!chosen || chosen->isEmpty()) return r;
  return openPosterAt(p, *chosen);
}

OpenResult openPosterAt(Poster& p, const QString& path) {
  p.saveFolder = QFileInfo(path).absolutePath();
  const OpenResult r = openPosterFile(p, path);
  if (r.status == OpenStatus::Refused && p.svc.dialogs)
    p.svc.dialogs->message(
        {kOpenRefusedText, kOpenTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
  return r;
}

}  // namespace pastel
