#include "steps/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

#include "canvas/poster.h"
#include "platform/dialogs.h"
#include "platform/temp_folder.h"

namespace pastel {

QPointF centredPlace(const Desktop& d, float width, float height) {
  if (const QRectF a = d.fittedAreaTwips(); !a.isEmpty())
    return {a.left() + std::max(0.0, (a.width() - width) / 2),
            a.top() + std::max(0.0, (a.height() - height) / 2)};
  return {(d.screenWidthTwips() - width) / 2, (d.screenHeightTwips() - height) / 2};
}

void startUpBeforeShow(Poster& p) {
  MainForm& f = p.form;
  // Centred on the designed size, then the height is set: the vertical
  // centring therefore uses the designed height.
  if (p.svc.desktop) {
    const QPointF at = centredPlace(*p.svc.desktop, f.width, f.height);
    f.left = float(at.x());
    f.top = float(at.y());
  }
  f.height = MainForm::kOuterHeight;
  p.setStartValues();
  appFolderPath(p);
  // Programs killed earlier leave their temporary folders behind.
  removeStaleTempFolders(QDir::tempPath());
}

void startUpAfterShow(Poster& p) {
  // A poster put back at start may stand in a later step, which keeps its own.
  const bool step1 = currentStep(p) == 1;
  if (step1) p.form.hscroll1.visible = true;
  yieldToEvents(p);
  p.selectionActive = 0;
  if (step1) p.form.picture1.visible = true;
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

bool confirmEnd(Poster& p) {
  const MessageBoxText m{QStringLiteral("ほんとうに おわりにしますか？"), QStringLiteral("確認"),
                         MsgIcon::Information, MsgButtons::YesNo, MsgAnswer::No};
  if (!p.svc.dialogs || p.svc.dialogs->message(m) != MsgAnswer::Yes) return false;
  if (p.svc.desktop) p.svc.desktop->terminate();
  return true;
}

}  // namespace pastel
