#include <QApplication>
#include <QStyleFactory>
#include <QTimer>

#include "app/pastel_app_view.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pastelboard"));
  QApplication::setApplicationDisplayName(QStringLiteral("パステルボード"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  pastel::installJapaneseTranslations();

  pastel::PastelApp pastelApp(pastel::PastelApp::Options{});
  pastelApp.start();
  // Used by the start-up benchmark only: end as soon as the window stands.
  if (qEnvironmentVariableIsSet("PASTELBOARD_QUIT_WHEN_SHOWN"))
    QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
  return app.exec();
}
