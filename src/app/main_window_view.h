#pragma once
#include <QMainWindow>
#include <functional>
#include <map>
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

  // Text boxes write typed text into the model, then report the change.
  void setTextFromWidget(Element& e, const QString& text);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  struct Bound;
  void build();
  void syncOne(Bound& b, bool force);
  void restack();

  Poster& poster_;
  QWidget* central_ = nullptr;
  std::vector<std::unique_ptr<Bound>> bound_;
  std::map<const Element*, Bound*> byElement_;
  QAction *itemOpen_ = nullptr, *itemSetDir_ = nullptr, *itemGazo_ = nullptr,
          *itemEnd_ = nullptr;
  bool syncing_ = false;
};

}  // namespace pastel
