#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "../db_test_support.h"
#include "app/pastel_app_view.h"
#include "settings/settings_controller.h"
#include "support/stand_ins.h"
#include "view_support.h"
#include "words/word_lines.h"

namespace pastel {
namespace {

QWidget* settingsWindow() { return test::shownTopLevel("frmList"); }

// Key clicks that carry kana text, as an input method commits them.
void typeText(QWidget* w, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

struct SettingsViewFixture {
  explicit SettingsViewFixture(bool openAtStart = false) {
    QFile(pictures.path() + "/umi.jpg").open(QIODevice::WriteOnly);
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.executableFolder = dir.path();
    o.openSettings = openAtStart;
    app = std::make_unique<PastelApp>(o);
    SettingsController* ctl = settingsController(app->window());
    ctl->startFolder = [this] { return pictures.path(); };
    ctl->listDrives = [this] { return QStringList{"/", pictures.path()}; };
    app->start();
  }
  ~SettingsViewFixture() {
    app.reset();
    flushDeletes();
  }
  QTemporaryDir dir, pictures;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  std::unique_ptr<PastelApp> app;
};

TEST(SettingsView, TypedWordReachesItsSlotAndTheFile) {
  SettingsViewFixture fx(true);
  QWidget* w = settingsWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "設定");
  EXPECT_EQ(w->size(), QSize(561, 353));
  auto* field = w->findChild<QLineEdit*>("Text14");
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), "うんどうかい");  // the fresh template's word
  EXPECT_EQ(field->geometry(), QRect(328, 136, 213, 18));
  auto* files = w->findChild<QListWidget*>("File1");
  ASSERT_NE(files, nullptr);
  ASSERT_EQ(files->count(), 1);
  EXPECT_EQ(files->item(0)->text(), "umi.jpg");

  field->selectAll();
  QTest::keyClicks(field, "a");
  field->backspace();
  typeText(field, "あめ");
  auto* ok = w->findChild<QPushButton*>("Command12");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "これでよし");
  QTest::mouseClick(ok, Qt::LeftButton);
  flushDeletes();
  EXPECT_EQ(settingsWindow(), nullptr);
  Poster& p = fx.app->poster();
  EXPECT_EQ(p.form.text1[3].caption, "あめ");
  EXPECT_EQ(p.form.text1[0].caption, "なつやすみ");
  auto* slot = fx.app->window().findChild<QPlainTextEdit*>("Text1(3)");
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->toPlainText(), "あめ");
  EXPECT_EQ(test::rawValue(fx.dir.path() + "/pastel.mdb", "所属テーブル", "moji4"), "あめ");
  EXPECT_TRUE(fx.dialogs.messages.empty());

  // 設定(&D) opens it anew with the confirmed folder.
  fx.app->window().itemSetDir()->trigger();
  w = settingsWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->findChild<QLineEdit*>("Text14")->text(), "あめ");
  auto* folders = w->findChild<QListWidget*>("Dir1");
  ASSERT_NE(folders->currentItem(), nullptr);
  EXPECT_EQ(folders->currentItem()->text().trimmed(), QFileInfo(fx.pictures.path()).fileName());

  // Closing the frame hands nothing over.
  w->findChild<QLineEdit*>("Text11")->setText("x");
  QTest::keyClicks(w->findChild<QLineEdit*>("Text11"), "y");
  w->close();
  flushDeletes();
  EXPECT_EQ(settingsWindow(), nullptr);
  EXPECT_EQ(p.form.text1[0].caption, "なつやすみ");
}

TEST(SettingsView, WordBoxesSelectOnPressAndGrowWithTypedLines) {
  SettingsViewFixture fx;
  Poster& p = fx.app->poster();
  for (Element& e : p.form.text1) e.visible = true;
  fx.app->window().sync();
  auto box = [&](int i) {
    return fx.app->window().findChild<QPlainTextEdit*>(QString("Text1(%1)").arg(i));
  };
  QTest::mousePress(box(2)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  QTest::mouseRelease(box(2)->viewport(), Qt::RightButton, {}, QPoint(5, 5));
  QTest::mousePress(box(5)->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
  QTest::mouseRelease(box(5)->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
  EXPECT_EQ(p.wordStackOrder[8], 2);
  EXPECT_EQ(p.wordStackOrder[9], 5);
  EXPECT_EQ(p.form.text1[5].borderStyle, 1);
  EXPECT_EQ(p.form.text1[2].borderStyle, 0);
  EXPECT_EQ(p.grabOffsetX, 300);

  box(5)->setFocus();
  typeText(box(5), "あ");
  QTest::keyClick(box(5), Qt::Key_Return);
  typeText(box(5), "い");
  EXPECT_EQ(p.form.text1[5].caption, "あ\nい");
  EXPECT_FLOAT_EQ(p.form.text1[5].height, 645);
  EXPECT_EQ(box(5)->height(), 43);

  // The widget wraps exactly where the handlers count.
  for (int i : {5, 2}) {  // framed and unframed
    auto* widget = static_cast<TextBoxWidget*>(box(i));
    for (const QString& text :
         {QString(40, QChar(0x3042)), QString("ありがとう ございました またね"),
          QString("abc defghij klmnopqrstu vwxyz 0123456789"), QString()}) {
      for (float width : {3855.f, 2000.f, 1000.f}) {
        p.form.text1[i].caption = text;
        p.form.text1[i].width = width;
        fx.app->window().sync();
        QApplication::processEvents();
        EXPECT_EQ(widget->displayedLineCount(), displayedLineCount(p.form.text1[i]))
            << i << " " << text.toStdString() << " " << width;
      }
    }
  }
}

}  // namespace
}  // namespace pastel
