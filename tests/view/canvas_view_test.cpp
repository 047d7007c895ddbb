#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "../fake_picture_loader.h"
#include "canvas/picture_strip.h"
#include "view_support.h"

namespace pastel {
namespace {

// Members are built before the base: the loader exists when the app starts.
struct LoaderHolder {
  test::FakePictureLoader loader;
};

struct CanvasViewFixture : LoaderHolder, test::ViewFixture {
  CanvasViewFixture() : test::ViewFixture(&loader) {}
  Poster& poster() { return app->poster(); }
  MainWindowView& window() { return app->window(); }
  // The photo step as far as the canvas cares: strip shown, paper hidden.
  void showStrip(const QStringList& names) {
    poster().form.picture1.visible = false;
    poster().form.vscroll1.visible = true;
    poster().pictureFolderPath = "/pics/";
    loadPictureStrip(poster(), names);
    window().sync();
  }
};

// A mouse move delivered to the widget itself, as the window system would
// while the pointer passes over it.
void hover(QWidget* w, QPoint pos) {
  QMouseEvent me(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                 Qt::NoModifier);
  QCoreApplication::sendEvent(w, &me);
}

QRgb pixelAt(const QImage& img, QPoint p) { return img.pixel(p) & 0xffffff; }

TEST(CanvasView, HoverAndDragPlacesAnEnlargedFramedPhoto) {
  CanvasViewFixture fx;
  fx.showStrip({"sun_1785x1340.jpg", "sea_3000x1000.jpg", "broken.jpg"});
  QWidget* thumb = fx.widget("Image1(0)");
  ASSERT_TRUE(thumb && thumb->isVisible());
  EXPECT_EQ(thumb->geometry(), QRect(736, 152, 119, 89));
  EXPECT_TRUE(fx.widget("Image1(2)")->isVisible());

  hover(thumb, QPoint(20, 20));
  QWidget* slot = fx.widget("Image3(0)");
  ASSERT_TRUE(slot);
  EXPECT_TRUE(slot->isVisible());
  EXPECT_EQ(slot->geometry(), thumb->geometry());
  // Hovering the broken cell floats nothing more.
  hover(fx.widget("Image1(2)"), QPoint(30, 30));
  EXPECT_FALSE(fx.widget("Image3(1)")->isVisible());

  QTest::mousePress(slot, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  EXPECT_EQ(fx.poster().form.image3[0].borderStyle, 1);
  // Two steps of 100 pixels to the left: the second crosses 9300 twips.
  QTest::mouseMove(slot, QPoint(-80, 20));
  EXPECT_EQ(slot->geometry().left(), 636);
  QTest::mouseMove(slot, QPoint(-80, 20));
  QTest::mouseRelease(slot, Qt::LeftButton, Qt::NoModifier, QPoint(-80, 20));

  const Element& e = fx.poster().form.image3[0];
  EXPECT_FLOAT_EQ(e.left, 8040);
  EXPECT_FLOAT_EQ(e.width, 3998.4f);
  EXPECT_FLOAT_EQ(e.height, 3001.6f);
  EXPECT_TRUE(isPlaced(e));
  EXPECT_EQ(fx.poster().photoFiles[0], "/pics/sun_1785x1340.jpg");
  EXPECT_TRUE(slot->isVisible());
  EXPECT_EQ(slot->geometry(), QRect(536, 152, 267, 200));

  const QImage shot = fx.window().paperArea()->grab().toImage();
  const QColor c = test::FakePictureLoader::colourFor("sun_1785x1340.jpg");
  EXPECT_EQ(pixelAt(shot, QPoint(536 + 130, 152 + 100)), c.rgb() & 0xffffff);
  EXPECT_EQ(pixelAt(shot, QPoint(536, 152 + 100)), 0u);  // the thin black frame
  // The broken cell shows its grey card with a red cross in the middle.
  // (The enlarged photo now lies over that cell in the window.)
  const QImage card = fx.widget("Image1(2)")->grab().toImage();
  EXPECT_EQ(card.size(), QSize(119, 89));
  EXPECT_EQ(pixelAt(card, QPoint(5, 5)), 0xc0c0c0u);
  EXPECT_EQ(pixelAt(card, QPoint(59, 44)), 0xe00000u);

  // "おおきく" acts on it through the button.
  QTest::mouseClick(fx.window().findChild<QPushButton*>("Command2"), Qt::LeftButton);
  EXPECT_FLOAT_EQ(e.width, 4397.8f);  // 3998 whole twips x 1.1
}

TEST(CanvasView, StrokeOnThePaperShowsInItsPixels) {
  CanvasViewFixture fx;
  Poster& p = fx.poster();
  p.form.command13.backColor = rgb(200, 0, 50);
  p.form.hscroll1.scroll.value = 4;
  fx.window().sync();
  QWidget* paper = fx.widget("Picture1");
  ASSERT_TRUE(paper && paper->isVisible());
  QTest::mousePress(paper, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
  QTest::mouseMove(paper, QPoint(103, 100));
  QTest::mouseMove(paper, QPoint(106, 100));
  QTest::mouseRelease(paper, Qt::LeftButton, Qt::NoModifier, QPoint(106, 100));
  EXPECT_EQ(p.penDown, 0);
  const QImage img = test::shownPaper(fx.window());
  for (int x : {96, 100, 103, 106, 110}) EXPECT_EQ(pixelAt(img, QPoint(x, 100)), 0xc80032u) << x;
  EXPECT_NE(pixelAt(img, QPoint(100, 110)), 0xc80032u);

  // The clear button wipes it.
  QTest::mouseClick(fx.window().findChild<QPushButton*>("Command19"), Qt::LeftButton);
  EXPECT_NE(pixelAt(test::shownPaper(fx.window()), QPoint(100, 100)), 0xc80032u);
}

TEST(CanvasView, ScrollingTheStripRefillsIt) {
  CanvasViewFixture fx;
  QStringList names;
  for (int i = 0; i < 23; ++i) names << QString("p%1_1785x1340.jpg").arg(i);
  fx.showStrip(names);
  auto* bar = fx.window().findChild<QScrollBar*>("VScroll1");
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->maximum(), 20);
  bar->setValue(20);
  EXPECT_EQ(fx.poster().thumbnailCount, 3);
  EXPECT_TRUE(fx.widget("Image1(2)")->isVisible());
  EXPECT_FALSE(fx.widget("Image1(3)")->isVisible());
}

}  // namespace
}  // namespace pastel
