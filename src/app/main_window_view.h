#pragma once
#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

#include "app/element_widgets_view.h"
#include "canvas/poster.h"
#include "platform/qt_platform_widgets.h"

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

  // Runs a handler, then brings every window up to date. With an event
  // loop set, input that comes during the handler's yields waits for it.
  void run(const std::function<void()>& handler);
  // For what the window system sends during a yield (a close box): run once
  // the running handler has returned, at once when none runs.
  void runWhenIdle(const std::function<void()>& handler);
  void setEventLoop(QtEventLoop* loop) { loop_ = loop; }
  QtEventLoop* eventLoop() const { return loop_; }
  // Syncs this window and every window registered with alsoSync.
  void sync();
  void alsoSync(std::function<void()> syncWindow) { others_.push_back(std::move(syncWindow)); }

  // おわり, 終了(&Q) and the close box: asks, and on Yes ends the program
  // through onEnded as well.
  void askToEnd();
  std::function<void()> onEnded;

  QAction* itemOpen() const { return itemOpen_; }
  QAction* itemSetDir() const { return itemSetDir_; }
  QAction* itemGazo() const { return itemGazo_; }
  QAction* itemEnd() const { return itemEnd_; }

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void build();

  Poster& poster_;
  QWidget* central_ = nullptr;
  std::unique_ptr<FormBinder> binder_;
  QtEventLoop* loop_ = nullptr;
  bool closeAsked_ = false;
  std::vector<std::function<void()>> others_;
  QAction *itemOpen_ = nullptr, *itemSetDir_ = nullptr, *itemGazo_ = nullptr, *itemEnd_ = nullptr;
};

}  // namespace pastel
