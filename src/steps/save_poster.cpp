#include "steps/save_poster.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "canvas/poster.h"
#include "canvas/poster_content.h"
#include "platform/dialogs.h"
#include "storage/poster_names.h"
#include "storage/word_list_file.h"

namespace pastel {

namespace {

void tellChild(Poster& p, const SaveResult& r) {
  if (!p.svc.dialogs) return;
  QString text;
  if (r.status == SaveStatus::Failed) text = kSaveFailedText;
  if (r.status == SaveStatus::NameRefused) text = kSaveNameRefusedText;
  if (r.status == SaveStatus::Saved) {
    QStringList lines;
    if (!r.missingPhotos.isEmpty())
      lines << kPhotoMissingText + r.missingPhotos.join(QStringLiteral("、"));
    if (!r.droppedPhotos.isEmpty())
      lines << kPhotoDroppedText + r.droppedPhotos.join(QStringLiteral("、"));
    text = lines.join(QLatin1Char('\n'));
  }
  if (!text.isEmpty())
    p.svc.dialogs->message({text, kSaveTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
}

bool replaceAgreed(Poster& p, const PosterNames& n) {
  const SaveQuestion q = questionBeforeSaving(n);
  if (q == SaveQuestion::None) return true;
  return p.svc.dialogs->message(
             {q == SaveQuestion::ReplacePoster ? kSaveReplaceText : kSaveBesideFolderText,
              kSaveTitle, MsgIcon::Exclamation, MsgButtons::YesNo, MsgAnswer::No}) ==
         MsgAnswer::Yes;
}

}  // namespace

QString saveDialogFolder(const Poster& p) {
  if (!p.saveFolder.isEmpty() && QFileInfo(p.saveFolder).isDir()) return p.saveFolder;
  const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!docs.isEmpty() && QFileInfo(docs).isDir()) return docs;
  return QDir::homePath();
}

SaveResult writePoster(Poster& p, const PosterNames& names) {
  // Everything written comes from this one value, taken at once.
  return writePoster(takePosterContent(p), names, wordListFile(p), p.svc.loop);
}

SaveResult savePoster(Poster& p) {
  p.selectionActive = 0;

  SaveResult r;
  r.status = SaveStatus::Cancelled;
  if (p.svc.dialogs) {
    FileDialogRequest request;
    request.filter = QStringLiteral("HTML(*.html)");
    request.directory = saveDialogFolder(p);
    request.defaultSuffix = QStringLiteral("html");
    const std::optional<QString> chosen = p.svc.dialogs->saveFile(request);
    if (chosen && !chosen->isEmpty()) {
      p.saveFolder = QFileInfo(*chosen).absolutePath();
      const std::optional<PosterNames> names = posterNamesFor(*chosen);
      if (!names || !posterNamesUsable(*names))
        r.status = SaveStatus::NameRefused;
      else if (replaceAgreed(p, *names))
        r = writePoster(p, *names);
    }
  }
  tellChild(p, r);
  return r;
}

}  // namespace pastel
