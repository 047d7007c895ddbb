#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"
#include "platform/qt_platform_widgets.h"
#include "view_support.h"

namespace pastel {
namespace {

// Two photos and two coloured words on a coloured paper. With
// PASTEL_SCREENSHOT_DIR set, the poster is saved there beside a picture of
// the window, for a person to compare with the page in a browser.
TEST(SaveView, HozonInStepFourWritesThePosterFiles) {
  test::ViewFixture fx;
  Poster& p = fx.app->poster();
  p.form.paper.setBackColor(rgb(0xff, 0xe0, 0xa0));
  p.paperColourCode = QStringLiteral("#ffe0a0");
  QTest::mouseClick(fx.widget<QPushButton>("Command11"), Qt::LeftButton);

  QImage a(400, 300, QImage::Format_RGB32), b(300, 400, QImage::Format_RGB32);
  a.fill(QColor(0x30, 0x60, 0xd0));
  b.fill(QColor(0x20, 0xa0, 0x40));
  for (int y = 100; y < 200; ++y)
    for (int x = 150; x < 250; ++x) a.setPixelColor(x, y, Qt::red);
  a.save(fx.dir.path() + QStringLiteral("/あお.jpg"), "JPEG");
  b.save(fx.dir.path() + QStringLiteral("/みどり.jpg"), "JPEG");
  p.pictureFolderPath = fx.dir.path() + QStringLiteral("/");
  fx.app->window().run([&] {
    loadPictureStrip(p, {QStringLiteral("あお.jpg"), QStringLiteral("みどり.jpg")});
    for (int k = 0; k < 2; ++k) {
      floatPhotoSlot(p, k, 0, 0);
      pressPhoto(p, k);
      Element& e = p.form.image3[size_t(k)];
      movePhoto(p, k, true, 1200.0f + 3600 * k - e.left, 3300.0f + 900 * k - e.top);
      releasePhoto(p, k);
    }
  });
  QTest::mouseClick(fx.widget<QPushButton>("Command6"), Qt::LeftButton);
  fx.app->window().run([&] {
    const ColourValue colours[][2] = {{rgb(0xff, 0, 0), rgb(0xff, 0xff, 0x80)},
                                      {rgb(0, 0, 0xff), rgb(0xff, 0xff, 0xff)}};
    const char* codes[][2] = {{"#ff0000", "#ffff80"}, {"#0000ff", "#ffffff"}};
    for (int i = 0; i < 2; ++i) {
      Element& w = p.form.text1[size_t(i)];
      w.caption = i ? QStringLiteral("うみ\nやま") : QStringLiteral("なつやすみ");
      w.left = 1500.0f + 3000 * i;
      w.top = 8200;
      w.height = i ? 645 : 345;
      w.foreColor = colours[i][0];
      w.backColor = colours[i][1];
      p.wordTextColourCodes[size_t(i)] = QString::fromLatin1(codes[i][0]);
      p.wordFrameColourCodes[size_t(i)] = QString::fromLatin1(codes[i][1]);
    }
  });
  QTest::mouseClick(fx.widget<QPushButton>("Command4"), Qt::LeftButton);
  ASSERT_EQ(currentStep(p), 4);
  auto* hozon = fx.widget<QPushButton>("Command20");
  ASSERT_TRUE(hozon->isVisible());
  EXPECT_EQ(hozon->text(), QStringLiteral("ほぞん"));

  const QString shots = qEnvironmentVariable("PASTEL_SCREENSHOT_DIR");
  const QString folder =
      (shots.isEmpty() ? fx.dir.path() : shots) + QStringLiteral("/ぼくの ポスター");
  QDir().mkpath(folder);
  fx.dialogs.paths.push_back(folder + QStringLiteral("/なつ"));
  QTest::mouseClick(hozon, Qt::LeftButton);
  if (!shots.isEmpty()) fx.app->window().grab().save(shots + QStringLiteral("/program.png"));

  ASSERT_EQ(fx.dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(fx.dialogs.fileDialogs[0].filter, QStringLiteral("HTML(*.html)"));
  EXPECT_TRUE(fx.dialogs.messages.empty());
  EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/なつ.html")).isFile());
  EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/なつ.mdb")).isFile());
  const QImage bmp(folder + QStringLiteral("/なつ/なつ.bmp"), "BMP");
  const QImage jpeg(folder + QStringLiteral("/なつ/なつ.jpg"), "JPEG");
  EXPECT_EQ(bmp.size(), QSize(707, 499));
  EXPECT_EQ(jpeg.size(), QSize(707, 499));
  // The window takes input again.
  EXPECT_TRUE(fx.app->window().paperArea()->isEnabled());
  EXPECT_TRUE(fx.app->window().menuBar()->isEnabled());
}

// 画像で保存's dialog: the type chosen adds its ending to a name typed
// without one, except BMP, which keeps the name exactly as typed.
TEST(SaveView, TheChosenTypeAddsItsEndingExceptBmp) {
  QTemporaryDir dir;
  QtDialogs dialogs;
  FileDialogRequest request;
  request.filter = QStringLiteral("BMP(*.bmp);;PNG(*.png);;PDF(*.pdf)");
  request.directory = dir.path();
  auto choose = [&](int type, const QString& typed) {
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_TRUE(dlg);
      auto* types = dlg->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      ASSERT_TRUE(types);
      EXPECT_EQ(types->currentIndex(), 0);  // BMP first
      types->setCurrentIndex(type);
      // As the child's choice: the combo box says both.
      emit types->activated(type);
      emit types->textActivated(types->itemText(type));
      dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
      static_cast<QDialog*>(dlg)->accept();  // as the button does
    });
    return dialogs.saveFileOfType(request, {QString(), "png", "pdf"});
  };
  const std::optional<SaveChoice> bmp = choose(0, "え");
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->path, dir.filePath("え"));
  EXPECT_EQ(bmp->type, 0);
  const std::optional<SaveChoice> png = choose(1, "え");
  ASSERT_TRUE(png);
  EXPECT_EQ(png->path, dir.filePath("え.png"));
  EXPECT_EQ(png->type, 1);
  const std::optional<SaveChoice> pdf = choose(2, "share.pdf");
  ASSERT_TRUE(pdf);
  EXPECT_EQ(pdf->path, dir.filePath("share.pdf"));
  EXPECT_EQ(pdf->type, 2);
}

}  // namespace
}  // namespace pastel
