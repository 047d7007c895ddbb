#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "../fake_picture_loader.h"
#include "app/pastel_app_view.h"
#include "canvas/picture_strip.h"
#include "form/settings_form.h"
#include "settings/settings_controller.h"
#include "steps/palette.h"
#include "support/stand_ins.h"
#include "view_support.h"

namespace pastel {
namespace {

// The real windows over a folder of 23 pictures that the fake loader
// "decodes" from their names; the strip yields after every thumbnail.
struct YieldFixture {
  YieldFixture() {
    for (int i = 0; i < 23; ++i)
      QFile(pictures.path() + QStringLiteral("/p%1_1785x1340.jpg").arg(i, 2, 10, QChar('0')))
          .open(QIODevice::WriteOnly);
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.pictures = &loader;
    o.executableFolder = dir.path();
    o.openSettings = true;
    app = std::make_unique<PastelApp>(o);
    SettingsController* ctl = settingsController(app->window());
    ctl->startFolder = [this] { return pictures.path(); };
    ctl->listDrives = [] { return QStringList{"/"}; };
    app->start();
  }
  QPushButton* button(const char* name) { return app->window().findChild<QPushButton*>(name); }
  QTemporaryDir dir, pictures;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  test::FakePictureLoader loader;
  std::unique_ptr<PastelApp> app;
};

// While これでよし fills the strip, the child closes the settings window:
// the confirmation finishes on its own copy and nothing is read after it was
// freed (the sanitizer build turns such a read into a failure).
TEST(YieldView, SettingsClosedWhileTheStripFills) {
  YieldFixture fx;
  QWidget* w = test::shownTopLevel("frmList");
  ASSERT_NE(w, nullptr);
  auto* ok = w->findChild<QPushButton*>("Command12");
  int during = 0;
  QTimer::singleShot(0, w, [&] {
    ++during;
    w->close();
  });
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(during, 1) << "the strip did not yield";
  Poster& p = fx.app->poster();
  EXPECT_EQ(test::shownTopLevel("frmList"), nullptr);
  EXPECT_EQ(p.pictureFiles.size(), 23);
  EXPECT_EQ(p.thumbnailCount, 10);
  EXPECT_EQ(p.pictureFolderPath, fx.pictures.path() + "/");
  EXPECT_EQ(p.form.text1[0].caption, "なつやすみ");
  // Opened again, it works as ever.
  fx.app->window().itemSetDir()->trigger();
  ASSERT_NE(test::shownTopLevel("frmList"), nullptr);
  QTest::mouseClick(test::shownTopLevel("frmList")->findChild<QPushButton*>("Command12"),
                    Qt::LeftButton);
  EXPECT_EQ(test::shownTopLevel("frmList"), nullptr);
}

template <class Form>
void expectEveryRowHasItsWidget(Form& form, QWidget* window) {
  int rows = 0;
  form.forEach([&](Element& e) {
    ++rows;
    QWidget* w = window->findChild<QWidget*>(e.name);
    ASSERT_NE(w, nullptr) << e.name.toStdString();
    EXPECT_EQ(w->geometry(), pixelRect(e)) << e.name.toStdString();
  });
  EXPECT_GT(rows, 0);
}

TEST(YieldView, EveryTableRowHasAWidgetWithItsNameAtItsPlace) {
  YieldFixture fx;
  Poster& p = fx.app->poster();
  expectEveryRowHasItsWidget(p.form, &fx.app->window());
  EXPECT_EQ(fx.app->window().findChild<QWidget*>("Image3(10)")->geometry(), QRect(816, 0, 119, 89));

  SettingsForm settings;
  expectEveryRowHasItsWidget(settings, test::shownTopLevel("frmList"));
  EXPECT_EQ(test::shownTopLevel("frmList")->findChild<QWidget*>("Text20")->geometry(),
            QRect(328, 280, 213, 18));

  QTest::mouseClick(fx.button("Command13"), Qt::LeftButton);
  ASSERT_NE(test::shownTopLevel("Form2"), nullptr);
  expectEveryRowHasItsWidget(p.palette, test::shownTopLevel("Form2"));
  // Its close box only hides it, through the model.
  test::shownTopLevel("Form2")->close();
  EXPECT_FALSE(p.palette.visible);
  EXPECT_EQ(test::shownTopLevel("Form2"), nullptr);
}

// A kana key types on a press and release on it; a release alone (its
// press was dropped) types nothing.
TEST(YieldView, AKanaKeyClicksOnlyWhenPressedFirst) {
  int clicks = 0;
  LabelWidget key(nullptr, ElementKind::KanaKey, [&] { ++clicks; });
  key.resize(40, 40);
  QTest::mouseRelease(&key, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(clicks, 0);
  QTest::mouseClick(&key, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(clicks, 1);
}

// Pressing a word puts a frame round it; the word must not jump when the
// pointer then moves by nothing, and its text wraps where the count says.
TEST(YieldView, AWordStaysUnderThePointerWhenItsFrameAppears) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  for (Element& e : p.form.text1) e.visible = true;
  p.form.text1[4].caption = QString(11, QChar(0x3042));
  fx.app->window().sync();
  auto* box = fx.app->window().findChild<QPlainTextEdit*>("Text1(4)");
  const float left = p.form.text1[4].left, top = p.form.text1[4].top;
  QTest::mousePress(box->viewport(), Qt::LeftButton, {}, QPoint(30, 10));
  ASSERT_EQ(p.form.text1[4].borderStyle, 1);
  EXPECT_EQ(box->frameWidth(), 1);
  QTest::mouseMove(box->viewport(), box->viewport()->mapFrom(box, QPoint(30, 10)));
  QTest::mouseRelease(box->viewport(), Qt::LeftButton, {},
                      box->viewport()->mapFrom(box, QPoint(30, 10)));
  EXPECT_FLOAT_EQ(p.form.text1[4].left, left);
  EXPECT_FLOAT_EQ(p.form.text1[4].top, top);
  EXPECT_EQ(p.grabOffsetX, 450);
  EXPECT_EQ(p.grabOffsetY, 150);
}

}  // namespace
}  // namespace pastel
