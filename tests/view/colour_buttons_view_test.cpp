#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "view_support.h"

namespace pastel {
namespace {

QPushButton* pickColour(test::ViewFixture& fx, const char* button, int swatch) {
  auto* b = fx.widget<QPushButton>(button);
  QTest::mouseClick(b, Qt::LeftButton);
  QWidget* palette = test::topLevel("Form2");
  QTest::mouseClick(palette->findChild<QLabel*>(QStringLiteral("Label3(%1)").arg(swatch)),
                    Qt::LeftButton);
  QTest::mouseClick(palette->findChild<QPushButton*>("Command12"), Qt::LeftButton);
  return b;
}

std::vector<QRgb> nearCorners(QWidget* w) {
  const QImage img = w->grab().toImage();
  const int r = img.width() - 6, b = img.height() - 6;
  std::vector<QRgb> out;
  for (QPoint p : {QPoint(5, 5), QPoint(r, 5), QPoint(5, b), QPoint(r, b)})
    out.push_back(img.pixel(p) & 0xffffff);
  return out;
}

// Pixels of the caption's colour in the middle third, where the text is.
int captionPixels(QWidget* w, QRgb colour) {
  const QImage img = w->grab().toImage();
  int n = 0;
  for (int y = img.height() / 3; y < 2 * img.height() / 3; ++y)
    for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xffffff) == colour;
  return n;
}

TEST(ColourButtons, ChosenColoursShowFlatWithReadableCaptions) {
  test::ViewFixture fx;
  QPushButton* paper = pickColour(fx, "Command12", 17);  // ff 00 00
  EXPECT_EQ(nearCorners(paper), std::vector<QRgb>(4, 0xff0000));
  EXPECT_GT(captionPixels(paper, 0xffffff), 20);  // white on red

  QPushButton* line = pickColour(fx, "Command13", 22);  // 00 00 ff
  EXPECT_EQ(nearCorners(line), std::vector<QRgb>(4, 0x0000ff));
  EXPECT_GT(captionPixels(line, 0xffffff), 20);

  QPushButton* light = pickColour(fx, "Command13", 3);  // ff ff c0
  EXPECT_EQ(nearCorners(light), std::vector<QRgb>(4, 0xffffc0));
  EXPECT_GT(captionPixels(light, 0x000000), 20);  // black on pale yellow
  EXPECT_EQ(captionPixels(light, 0xffffff), 0);

  // The palette's OK shows the last pick, flat too.
  auto* ok = test::topLevel("Form2")->findChild<QPushButton*>("Command12");
  EXPECT_EQ(nearCorners(ok), std::vector<QRgb>(4, 0xffffc0));
  // A button without a colour of its own keeps the style's look.
  EXPECT_TRUE(fx.widget<QPushButton>("Command11")->styleSheet().isEmpty());
}

}  // namespace
}  // namespace pastel
