#include "platform/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <vector>

namespace pastel {

double scaleToFit(QSize available, QSize outer, QSize client) {
  if (available.isEmpty() || client.isEmpty()) return 1;
  const QSize chrome = outer - client;
  const double fit = std::min(double(available.width() - chrome.width()) / client.width(),
                              double(available.height() - chrome.height()) / client.height());
  if (fit >= 1) return 1;
  // Below a quarter nothing could be read any more: drawn at that, cropped.
  return std::max(std::floor(fit * 64) / 64, 0.25);
}

ScreenFit fitScreenBeforeStart(int argc, char** argv, QSize outer, QSize client) {
  QSize available;
  double pixelRatio = 1;
  {
    // It takes the options it knows out of its copy; the session manager
    // must not see this one come and go.
    std::vector<char*> args(argv, argv + argc);
    args.push_back(nullptr);
    int n = argc;
    const QByteArray session = qgetenv("SESSION_MANAGER");
    qunsetenv("SESSION_MANAGER");
    {
      QGuiApplication probe(n, args.data());
      if (const QScreen* s = QGuiApplication::primaryScreen()) {
        available = s->availableGeometry().size();
        pixelRatio = s->devicePixelRatio();
      }
    }
    if (!session.isNull()) qputenv("SESSION_MANAGER", session);
  }
  const double fit = scaleToFit(available, outer, client);
  // No smaller than one device pixel per logical pixel, a multiple of 1/64.
  const double scale = std::min(1.0, std::max(fit, std::ceil(64 / pixelRatio) / 64));
  if (scale < 1) {
    // On top of a scale the user set: the free area was measured under it.
    bool ok = false;
    double user = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (!ok || user <= 0) user = 1;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(user * scale, 'g', 17));
  }
  return {fit, fit / scale};
}

}  // namespace pastel
