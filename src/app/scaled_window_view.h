#pragma once
#include <QGraphicsView>

class QGraphicsProxyWidget;

namespace pastel {

// A window drawn smaller, on a screen too small for it at one screen pixel
// per pixel, where Qt would crop it instead. The window lives in this view's
// scene: input reaches it scaled back, its layout in twips is untouched, and
// its title, showing and closing are the view's.
class ScaledWindowView : public QGraphicsView {
 public:
  ScaledWindowView(QWidget* window, double scale);
  ~ScaledWindowView() override;

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void follow();

  QWidget* window_;
  QGraphicsProxyWidget* proxy_;
  double scale_;
  bool placed_ = false;
};

}  // namespace pastel
