#pragma once
#include <QMainWindow>
#include <functional>
#include <memory>

#include "app/element_widgets_view.h"
#include "canvas/poster.h"

class QAction;

namespace pastel {

// The main window: one widget per element of the form model, synced from
// the model after every handler. Subsystems attach their handlers through
// on(element) and the menu actions.
class MainWindowView : public QMainWindow {
 public:
  explicit MainWindowView(Poster& poster);
  ~MainWindowView() override;

  ElementEvents& on(const Element& e);
  QWidget* widgetFor(const Element& e) const;
  QWidget* paperArea() const { return central_; }

  // Runs a handler, then brings the widgets up to date.
  void run(const std::function<void()>& handler);
  void sync();

  QAction* itemOpen() const { return itemOpen_; }
  QAction* itemSetDir() const { return itemSetDir_; }
  QAction* itemGazo() const { return itemGazo_; }
  QAction* itemEnd() const { return itemEnd_; }

  // The paper rectangle as the window shows it, 707 x 499 pixels.
  QImage renderPaper();
  // The same rectangle drawn into `target` at the painter's resolution: text
  // as text, pictures from their decoded pixels (printing).
  void drawPaper(QPainter& painter, const QRectF& target);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void build();

  Poster& poster_;
  QWidget* central_ = nullptr;
  std::unique_ptr<FormBinder> binder_;
  QAction *itemOpen_ = nullptr, *itemSetDir_ = nullptr, *itemGazo_ = nullptr, *itemEnd_ = nullptr;
};

}  // namespace pastel
