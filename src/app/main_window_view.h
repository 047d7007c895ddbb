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
  MainWindowView(Poster& poster, QtEventLoop& loop);
  ~MainWindowView() override;

  ElementEvents& on(const Element& e);
  QWidget* widgetFor(const Element& e) const;
  QWidget* paperArea() const { return central_; }

  // Runs a handler for input, then brings every window up to date; input
  // that comes during the handler's yields waits for it.
  void run(const std::function<void()>& handler) { loop_.runHandler(handler); }
  // For what is not input: run once the running handler has returned, at
  // once when none runs.
  void runWhenIdle(const std::function<void()>& handler) { loop_.whenIdle(handler); }
  QtEventLoop& eventLoop() const { return loop_; }
  // A menu item runs `handler` as input.
  void onTriggered(QAction* item, std::function<void()> handler);
  // Where the child's input lands in this window: its step and controls.
  QByteArray inputTargets() const;
  // Syncs this window and every window registered with alsoSync.
  void sync();
  void alsoSync(std::function<void()> syncWindow) { others_.push_back(std::move(syncWindow)); }

  // The one way to end, for おわり, 終了(&Q) and the close box (also when it
  // was closed during a handler): asks, and on Yes ends the program through
  // onEnded as well.
  bool askToEnd();
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
  QtEventLoop& loop_;
  bool closeAsked_ = false;
  std::vector<std::function<void()>> others_;
  QAction *itemOpen_ = nullptr, *itemSetDir_ = nullptr, *itemGazo_ = nullptr, *itemEnd_ = nullptr;
};

}  // namespace pastel
