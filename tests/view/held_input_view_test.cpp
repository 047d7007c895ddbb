#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "../fake_picture_loader.h"
#include "app/pastel_app_view.h"
#include "settings/settings_controller.h"
#include "storage/template_db.h"
#include "support/stand_ins.h"
#include "view_support.h"

namespace pastel {
namespace {

// A click as the window system sends it: queued, and delivered whenever the
// event loop next takes the child's input. (QTest's clicks go straight to
// the widget and cannot show whether input is held.)
void queueClick(QWidget* w) {
  QWidget* top = w->window();
  const QPointF at(w->rect().center());
  const QPointF local = w->mapTo(top, at);
  const QPointF global = w->mapToGlobal(at);
  using WSI = QWindowSystemInterface;
  WSI::handleMouseEvent<WSI::AsynchronousDelivery>(
      top->windowHandle(), local, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
  WSI::handleMouseEvent<WSI::AsynchronousDelivery>(top->windowHandle(), local, global, Qt::NoButton,
                                                   Qt::LeftButton, QEvent::MouseButtonRelease);
}

// The real windows over 23 pictures the fake loader "decodes" (the strip
// yields after each), printing to a PDF file.
struct HeldFixture {
  HeldFixture() {
    for (int i = 0; i < 23; ++i)
      QFile(pictures.path() + QStringLiteral("/p%1_1785x1340.jpg").arg(i, 2, 10, QChar('0')))
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
  test::FakePictureLoader loader;
  PdfPrinter printer{dir.filePath("print.pdf")};
  std::unique_ptr<PastelApp> app;
};

// During every kind of yield a click on another control waits in the queue
// and is delivered once the handler has returned, never inside it.
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
  {  // the grab on leaving step 1; the click is もどる
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    fx.clickDuring(fx.button("Command5"), [&] { fx.button("Command11")->click(); });
    EXPECT_EQ(currentStep(p), 2);
    EXPECT_TRUE(p.form.image1[0].visible);
    EXPECT_TRUE(settle([&] { return currentStep(p) == 1; }));
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
  {  // opening a poster; the click is the palette's OK, which must not
     // take the opened paper away halfway
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    const QString db = fx.dir.filePath("fuyu.mdb");
    ASSERT_TRUE(writeTemplateDatabase(db));
    fx.button("Command12")->click();  // かみのいろ: the palette opens
    QWidget* palette = test::shownTopLevel("Form2");
    ASSERT_NE(palette, nullptr);
    fx.dialogs.paths.push_back(db);
    fx.clickDuring(fx.button("Command12", palette),
                   [&] { fx.app->window().itemOpen()->trigger(); });
    EXPECT_EQ(p.form.label5.caption, kStep4OpenedTitle);
    EXPECT_TRUE(p.palette.visible);
    EXPECT_TRUE(settle([&] { return !p.palette.visible; }));
  }
  {  // the word editor switching the kana lock; the click is the same
     // button again, which closes the editor once it has opened
    HeldFixture fx;
    Poster& p = fx.app->poster();
    fx.confirmSettings();
    fx.toStep(3);
    ASSERT_FALSE(fx.app->keyInjector().kanaLockOn());
    QPushButton* edit = fx.button("Command21");
    fx.clickDuring(edit, [&] { edit->click(); });
    EXPECT_EQ(p.wordEditMode, "1");
    EXPECT_TRUE(settle([&] { return p.wordEditMode == "0"; }));
  }
}

}  // namespace
}  // namespace pastel
