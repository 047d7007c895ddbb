#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>

#include "platform/qt_platform_widgets.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  pastel::installJapaneseTranslations();
  return RUN_ALL_TESTS();
}
