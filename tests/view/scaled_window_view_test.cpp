#include "app/scaled_window_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QTest>

namespace pastel {
namespace {

// A window of one label that, like a photo, takes no press itself.
struct Window : QWidget {
  Window() {
    resize(400, 300);
    label->setGeometry(100, 100, 50, 50);
    label->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonRelease)
      seen << static_cast<QMouseEvent*>(e)->position().toPoint();
    return false;
  }
  void closeEvent(QCloseEvent* e) override {
    ++closeAsked;
    e->ignore();
  }
  QLabel* label = new QLabel(this);
  QLineEdit* field = new QLineEdit(this);  // takes the keyboard
  QShortcut* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
  QList<QPoint> seen;
  int closeAsked = 0;
};

void send(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
  QMouseEvent e(type, at, to->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(to, &e);
}

TEST(ScaledWindowView, DrawsTheWindowSmallerAndADragStaysWithWhatWasPressed) {
  Window window;
  {
    ScaledWindowView view(&window, 0.5);
    window.show();
    ASSERT_TRUE(view.isVisible());
    EXPECT_EQ(view.size(), QSize(200, 150));
    QWidget* screen = view.viewport();
    // Pressed at the label's (10, 10), dragged out of it and let go.
    send(screen, QEvent::MouseButtonPress, {55, 55}, Qt::LeftButton, Qt::LeftButton);
    send(screen, QEvent::MouseMove, {150, 100}, Qt::NoButton, Qt::LeftButton);
    send(screen, QEvent::MouseButtonRelease, {150, 100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window.seen, QList<QPoint>({{200, 100}, {200, 100}}));

    // Typing reaches the window's focus, and so do its keys.
    int undone = 0;
    QObject::connect(window.undo, &QShortcut::activated, [&] { ++undone; });
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    window.field->setFocus();
    QTRY_VERIFY(window.field->hasFocus());
    // The keyboard's keys arrive at the view, the window that has the focus.
    QTest::keyClick(view.windowHandle(), Qt::Key_A);
    QTest::keyClick(view.windowHandle(), Qt::Key_B);
    EXPECT_EQ(window.field->text(), QStringLiteral("ab"));
    // Away from the field, whose own undo would take it.
    window.setFocus();
    QTest::keyClick(view.windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undone, 1);

    // Its frame's close button asks the window, which may say no.
    EXPECT_FALSE(view.close());
    EXPECT_EQ(window.closeAsked, 1);
    EXPECT_TRUE(view.isVisible());
  }
  // The view leaves the window to its owner.
  EXPECT_EQ(window.parentWidget(), nullptr);
}

}  // namespace
}  // namespace pastel
