#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <QTimer>
#include <QUrl>

#include "app/pastel_app_view.h"
#include "form/main_form.h"
#include "platform/screen_fit.h"
#include "steps/startup.h"
#include "storage/poster_thumbnail.h"

namespace {

// A hostile poster ends in no thumbnail, never in a file manager waiting.
constexpr unsigned kThumbnailerSeconds = 10;

// "pastelboard --thumbnail INPUT OUTPUT SIZE", as the freedesktop
// thumbnailer file runs it: a PNG of the poster and no window.
int runThumbnailer(int argc, char** argv) {
  ::alarm(kThumbnailerSeconds);  // its default action ends the process
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() != 5) return 2;
  bool number = false;
  const int size = args[4].toInt(&number);
  if (!number) return 2;
  const QString input = args[2].startsWith(QLatin1String("file:"), Qt::CaseInsensitive)
                            ? QUrl(args[2]).toLocalFile()
                            : args[2];
  return pastel::writePosterThumbnail(input, args[3], size) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && qstrcmp(argv[1], "--thumbnail") == 0) return runThumbnailer(argc, argv);
  // A window made for 1024 x 768 is drawn smaller on a screen it does not fit.
  const pastel::ScreenFit fit =
      pastel::fitScreenBeforeStart(argc, argv,
                                   QSize(pastel::twipsToPixels(pastel::MainForm::kOuterWidth),
                                         pastel::twipsToPixels(pastel::MainForm::kOuterHeight)),
                                   QSize(pastel::twipsToPixels(pastel::MainForm::kClientWidth),
                                         pastel::twipsToPixels(pastel::MainForm::kClientHeight)));
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pastelboard"));
  // No display name: Qt would append it to every window title ("設定 — パステルボード").
  QGuiApplication::setDesktopFileName(QStringLiteral(PASTEL_APP_ID));
  QIcon icon;
  for (int size : {48, 256}) icon.addFile(QStringLiteral(":/icons/pastelboard-%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  pastel::installJapaneseTranslations();

  pastel::PastelApp::Options options;
  // A poster double-clicked in a file manager arrives here (the menu entry's %f).
  options.posterFile = pastel::posterFileArgument(QCoreApplication::arguments());
  options.keepPoster = true;
  options.fittedToScreen = fit.fit < 1;
  options.windowScale = fit.rest;
  pastel::PastelApp pastelApp(options);
  pastelApp.start();
  // Used by the start-up benchmark only: end as soon as the window stands.
  if (qEnvironmentVariableIsSet("PASTELBOARD_QUIT_WHEN_SHOWN"))
    QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
  return app.exec();
}
