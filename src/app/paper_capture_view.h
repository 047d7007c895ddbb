#pragma once
#include "app/main_window_view.h"
#include "platform/services.h"

namespace pastel {

// The paper grab: the main window renders its own paper rectangle, so no
// other window, tooltip or off-screen part ever gets into a poster.
class ViewPaperCapture : public PaperCapture {
 public:
  explicit ViewPaperCapture(MainWindowView* view) : view_(view) {}
  QImage grabPaper() override { return view_->renderPaper(); }
  bool drawPaper(QPainter& painter, const QRectF& target) override {
    view_->drawPaper(painter, target);
    return true;
  }

 private:
  MainWindowView* view_;
};

}  // namespace pastel
