#include "app/startup.h"

#include <QFileInfo>
#include <QUrl>

#include "canvas/poster.h"
#include "platform/dialogs.h"

namespace pastel {

QString appFolderFrom(const QString& folder) {
  QString f = folder;
  while (f.size() > 1 && f.endsWith(QLatin1Char('/'))) f.chop(1);
  if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
  return f;
}

QString appFolderPath(Poster& p) {
  if (p.appFolder.isEmpty()) p.appFolder = appFolderFrom(p.svc.executableFolder);
  return p.appFolder;
}

void startUpBeforeShow(Poster& p) {
  MainForm& f = p.form;
  // Centred on the designed size, then the height is set: the vertical
  // centring therefore uses the designed height.
  if (p.svc.desktop) {
    f.left = (p.svc.desktop->screenWidthTwips() - f.width) / 2;
    f.top = (p.svc.desktop->screenHeightTwips() - f.height) / 2;
  }
  f.height = 11520;
  p.setStartValues();
  appFolderPath(p);
}

void startUpAfterShow(Poster& p) {
  p.form.hscroll1.visible = true;
  yieldToEvents(p);
  // The child may already have gone on to the photos during the yield.
  if (currentStep(p) != 1) return;
  p.selectionActive = 0;
  p.form.picture1.visible = true;
  yieldToEvents(p);
}

QString posterFileArgument(const QStringList& arguments) {
  bool options = true;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    if (options && a == QLatin1String("--")) {
      options = false;
      continue;
    }
    if (a.isEmpty() || (options && a.startsWith(QLatin1Char('-')))) continue;
    const QString local =
        a.startsWith(QLatin1String("file:"), Qt::CaseInsensitive) ? QUrl(a).toLocalFile() : a;
    if (local.isEmpty()) continue;
    return QFileInfo(local).absoluteFilePath();
  }
  return {};
}

OpenResult openPosterOnStart(Poster& p, const QString& path) {
  if (p.opening || p.saving) return {OpenStatus::Busy, {}};
  p.opening = true;
  p.saveFolder = QFileInfo(path).absolutePath();
  const OpenResult r = openPosterFile(p, path);
  if (r.status == OpenStatus::Refused && p.svc.dialogs)
    p.svc.dialogs->message(
        {kOpenRefusedText, kOpenTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
  p.opening = false;
  return r;
}

bool confirmEnd(Poster& p) {
  const MessageBoxText m{QStringLiteral("ほんとうに おわりにしますか？"), QStringLiteral("確認"),
                         MsgIcon::Information, MsgButtons::YesNo, MsgAnswer::No};
  if (!p.svc.dialogs || p.svc.dialogs->message(m) != MsgAnswer::Yes) return false;
  if (p.svc.desktop) p.svc.desktop->terminate();
  return true;
}

}  // namespace pastel
