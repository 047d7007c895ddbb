#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "../fake_picture_loader.h"
#include "app/pastel_app_view.h"
#include "settings/settings_controller.h"
#include "storage/template_db.h"
#include "support/stand_ins.h"
#include "view_support.h"

namespace pastel {
namespace {

// A press or release as the window system sends it: queued, and delivered
// whenever the event loop next takes the child's input. (QTest's clicks go
// straight to the widget and cannot show whether input is held.)
void queueMouse(QWidget* w, QPointF at, QEvent::Type type) {
  QWidget* top = w->window();
  const bool press = type == QEvent::MouseButtonPress;
  using WSI = QWindowSystemInterface;
  WSI::handleMouseEvent<WSI::AsynchronousDelivery>(
      top->windowHandle(), w->mapTo(top, at), w->mapToGlobal(at),
      press ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton, type);
}

void queueClick(QWidget* w) {
  queueMouse(w, w->rect().center(), QEvent::MouseButtonPress);
  queueMouse(w, w->rect().center(), QEvent::MouseButtonRelease);
}

// Pictures that take a while to decode.
struct SlowPictures : test::FakePictureLoader {
  PictureRef load(const QString& path, QSize most) override {
    QThread::msleep(delayMs);
    return FakePictureLoader::load(path, most);
  }
  unsigned long delayMs = 0;
};

// The real windows over `count` pictures the fake loader "decodes" (the
// strip yields after each), printing to a PDF file.
struct HeldFixture {
  explicit HeldFixture(int count = 23) {
    for (int i = 0; i < count; ++i)
      QFile(pictures.path() + QStringLiteral("/p%1_1785x1340.jpg").arg(i, 3, 10, QChar('0')))
          .open(QIODevice::WriteOnly);
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.pictures = &loader;
    o.printer = &printer;
    o.executableFolder = dir.path();
    app = std::make_unique<PastelApp>(o);
    SettingsController* ctl = settingsController(app->window());
    ctl->startFolder = [this] { return pictures.path(); };
    ctl->listDrives = [] { return QStringList{"/"}; };
    app->start();
  }
  QPushButton* button(const QString& name, QWidget* in = nullptr) {
    return (in ? in : &app->window())->findChild<QPushButton*>(name);
  }
  void confirmSettings() { button("Command12", test::shownTopLevel("frmList"))->click(); }
  void toStep(int step) {
    const char* next[] = {"Command11", "Command6", "Command4"};
    for (int s = 1; s < step; ++s) button(next[s - 1])->click();
  }
  // Starts `handler`; during its first yield the child clicks `target`.
  void clickDuring(QWidget* target, const std::function<void()>& handler) {
    bool queued = false;
    QTimer::singleShot(0, target, [&] {
      queueClick(target);
      queued = true;
    });
    handler();
    EXPECT_TRUE(queued) << "the handler did not yield";
  }
  QTemporaryDir dir, pictures;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  SlowPictures loader;
  PdfPrinter printer{dir.filePath("print.pdf")};
  std::unique_ptr<PastelApp> app;
};

// Nothing of the child's input is left in the window system's queue.
bool queueEmpty() { return QWindowSystemInterface::windowSystemEventsQueued() == 0; }

// During a yield of a handler that leaves the controls as they were, a click
// on another control waits in the queue and is delivered once the handler
// has returned, never inside it. One that changed the step or the controls
// shown drops it: it was aimed at a control that is no longer there.
TEST(HeldInput, ClicksDuringAYieldComeAfterTheHandler) {
  const auto settle = [](const std::function<bool()>& done) { return QTest::qWaitFor(done, 2000); };
  {  // the strip filling after これでよし; the click is つぎへ
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.clickDuring(fx.button("Command11"), [&] { fx.confirmSettings(); });
    EXPECT_EQ(currentStep(p), 1);
    EXPECT_EQ(p.thumbnailCount, 10);
    EXPECT_TRUE(settle([&] { return currentStep(p) == 2; }));
  }
  {  // the grab on leaving step 1; the click on もどる is dropped
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    fx.clickDuring(fx.button("Command5"), [&] { fx.button("Command11")->click(); });
    EXPECT_TRUE(queueEmpty());
    EXPECT_EQ(currentStep(p), 2);
    EXPECT_TRUE(p.form.image1[0].visible);
  }
  {  // saving; the click is もどる
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    fx.toStep(4);
    fx.dialogs.paths.push_back(fx.dir.filePath("natsu.html"));
    fx.clickDuring(fx.button("Command16"), [&] { fx.button("Command20")->click(); });
    EXPECT_EQ(currentStep(p), 4);
    EXPECT_TRUE(QFile::exists(fx.dir.filePath("natsu.mdb")));
    EXPECT_TRUE(settle([&] { return currentStep(p) == 3; }));
  }
  {  // printing; the click is もどる
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    fx.toStep(4);
    fx.clickDuring(fx.button("Command16"), [&] { fx.button("Command14")->click(); });
    EXPECT_EQ(currentStep(p), 4);
    EXPECT_EQ(fx.printer.dialogs, 1);
    EXPECT_TRUE(settle([&] { return currentStep(p) == 3; }));
  }
  {  // opening a poster in step 1; the click on かみのいろ is dropped, not
     // delivered to ほぞん, which lies there afterwards
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    const QString db = fx.dir.filePath("fuyu.mdb");
    ASSERT_TRUE(writeTemplateDatabase(db));
    fx.dialogs.paths.push_back(db);
    fx.clickDuring(fx.button("Command12"), [&] { fx.app->window().itemOpen()->trigger(); });
    EXPECT_TRUE(queueEmpty());
    EXPECT_EQ(p.form.label5.caption, kStep4OpenedTitle);
    EXPECT_EQ(fx.dialogs.fileDialogs.size(), 1u);  // the open's own
    EXPECT_FALSE(p.palette.visible);
  }
  {  // the word editor opening (the kana lock's yield) brings the pad: the
     // same button clicked again is dropped
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    fx.toStep(3);
    ASSERT_FALSE(fx.app->keyInjector().kanaLockOn());
    QPushButton* edit = fx.button("Command21");
    fx.clickDuring(edit, [&] { edit->click(); });
    EXPECT_TRUE(queueEmpty());
    EXPECT_EQ(p.wordEditMode, "1");
  }
}

// What is not input enters a handler only once none runs: the strip's
// auto-repeat, a word losing the focus as a step hides it, the poster named
// on the command line. (An entry while a handler runs fails any view test.)
TEST(HeldInput, WhatIsNotInputWaitsForTheRunningHandler) {
  {  // holding the strip's arrow, the pictures slow: the strip stops with the bar
    HeldFixture fx(200);
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    fx.toStep(2);
    auto* bar = fx.app->window().findChild<QScrollBar*>("VScroll1");
    const QPointF arrow(bar->width() / 2, bar->height() - 4);
    fx.loader.delayMs = 15;
    bool letGo = false;
    QObject::connect(bar, &QScrollBar::valueChanged, bar, [&](int v) {
      if (v < 40 || letGo) return;
      letGo = true;
      queueMouse(bar, arrow, QEvent::MouseButtonRelease);
    });
    queueMouse(bar, arrow, QEvent::MouseButtonPress);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          return letGo && QGuiApplication::mouseButtons() == Qt::NoButton &&
                 p.form.vscroll1.scroll.value == bar->value();
        },
        20000));
    const int stopped = bar->value();
    EXPECT_LT(stopped, 100);  // not on to the end
    ASSERT_TRUE(p.form.image1[0].picture);
    EXPECT_EQ(p.form.image1[0].picture->path, p.pictureFiles[stopped]);
  }
  {  // a word that has the focus, hidden by もどる's yield
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    fx.toStep(3);
    fx.app->window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fx.app->window()));
    QWidget* word = fx.app->window().widgetFor(p.form.text1[3]);
    word->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return word->hasFocus(); }));
    bool back = false, lost = false, lostDuringBack = false;
    ElementEvents& b = fx.app->window().on(p.form.command15);
    b.click = [&, old = b.click] {
      back = true;
      old();
      back = false;
    };
    ElementEvents& w = fx.app->window().on(p.form.text1[3]);
    w.focusOut = [&, old = w.focusOut] {
      lost = true;
      lostDuringBack = back;
      old();
    };
    fx.button("Command15")->click();
    EXPECT_FALSE(p.form.text1[3].visible);
    EXPECT_TRUE(lost);
    EXPECT_FALSE(lostDuringBack);
  }
  {  // the poster named on the command line, due while つぎへ yields
    QTemporaryDir files;
    const QString db = files.filePath("natsu.mdb");
    ASSERT_TRUE(writeTemplateDatabase(db));
    test::ViewFixture fx(nullptr, [&](PastelApp::Options& o) { o.posterFile = db; });
    Poster& p = fx.app->poster();
    QString rightAfterNext;
    ElementEvents& next = fx.app->window().on(p.form.command11);
    next.click = [&, old = next.click] {
      old();
      rightAfterNext = p.form.label5.caption;
    };
    fx.widget<QPushButton>("Command11")->click();
    EXPECT_EQ(rightAfterNext, kStep2Title);
    EXPECT_EQ(p.form.label5.caption, kStep4OpenedTitle);
  }
}

}  // namespace
}  // namespace pastel
