#include "app/scaled_window_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>

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
