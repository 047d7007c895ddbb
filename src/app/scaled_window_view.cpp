#include "app/scaled_window_view.h"

#include <QCloseEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QScreen>
#include <cmath>

namespace pastel {

namespace {

// Keeps the mouse from a press to its release, as a window does, also when
// the widget pressed ignores the press: a drag's moves go where it began.
class GrabbingProxy : public QGraphicsProxyWidget {
 protected:
  void mousePressEvent(QGraphicsSceneMouseEvent* e) override {
    QGraphicsProxyWidget::mousePressEvent(e);
    e->accept();
  }
};

}  // namespace

ScaledWindowView::ScaledWindowView(QWidget* window, double scale) : window_(window), scale_(scale) {
  auto* scene = new QGraphicsScene(this);
  proxy_ = new GrabbingProxy;
  proxy_->setWidget(window);
  scene->addItem(proxy_);
  // The scene shows what it is given; the window shows when its owner says.
  window->hide();
  setScene(scene);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                 QPainter::SmoothPixmapTransform);
  setTransform(QTransform::fromScale(scale, scale));
  setWindowTitle(window->windowTitle());
  setWindowIcon(window->windowIcon());
  window->installEventFilter(this);
  follow();
}

ScaledWindowView::~ScaledWindowView() {
  // The window belongs to whoever made it, not to the scene.
  window_->removeEventFilter(this);
  proxy_->setWidget(nullptr);
}

void ScaledWindowView::closeEvent(QCloseEvent* e) {
  // The window decides, as it does for its own frame's close button.
  e->ignore();
  window_->close();
}

bool ScaledWindowView::eventFilter(QObject* watched, QEvent* e) {
  if (watched != window_) return false;
  switch (e->type()) {
    case QEvent::WindowTitleChange:
      setWindowTitle(window_->windowTitle());
      break;
    case QEvent::Move:
    case QEvent::Resize:
      follow();
      break;
    case QEvent::Show:
      follow();
      if (!placed_) {
        placed_ = true;
        if (const QScreen* s = screen()) {
          const QRect a = s->availableGeometry();
          move(a.left() + std::max(0, (a.width() - width()) / 2), a.top());
        }
      }
      show();
      break;
    case QEvent::Hide:
      hide();
      break;
    default:
      break;
  }
  return false;
}

// The view shows the window's rectangle of the scene, no more.
void ScaledWindowView::follow() {
  const QRectF r = proxy_->geometry();
  scene()->setSceneRect(r);
  setFixedSize(int(std::ceil(r.width() * scale_)), int(std::ceil(r.height() * scale_)));
}

}  // namespace pastel
