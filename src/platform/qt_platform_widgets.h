#pragma once
#include <QByteArray>
#include <functional>
#include <memory>
#include <vector>

#include "platform/dialogs.h"
#include "platform/services.h"

class QWidget;

namespace pastel {

// Message boxes and file dialogs with Qt, over the given parent window.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  MsgAnswer message(const MessageBoxText& box) override;
  std::optional<QString> openFile(const FileDialogRequest& request) override;
  std::optional<QString> saveFile(const FileDialogRequest& request) override;
  std::optional<QString> openFileShowingPictures(const FileDialogRequest& request,
                                                 const FilePicture& picture) override;
  std::optional<SaveChoice> saveFileOfType(const FileDialogRequest& request,
                                           const QStringList& suffixes) override;
  int choose(const ChoiceBox& box) override;

 private:
  QWidget* parent_;
};

// Yields run paint, timers and posted events (the loader's pictures, the
// injected keys) but hold the child's own mouse and keys in the window
// system's queue until the handler that yielded has returned, so no handler
// ever runs inside another's yield. Input that came while a handler changed
// what it would land on (the step, the controls shown) is dropped instead:
// it was aimed at controls that are no longer there.
class QtEventLoop : public EventLoop {
 public:
  QtEventLoop();
  ~QtEventLoop() override;
  std::function<void()> sync;          // brings every window up to date
  std::function<void()> afterHandler;  // once the outermost handler has returned
  // What the child's input lands on; a change drops the input that came meanwhile.
  std::function<QByteArray()> inputTargets;
  void yield() override;

  // Runs one handler for the child's input, then syncs. Input held during
  // its yields is delivered as soon as it has returned.
  void runHandler(const std::function<void()>& handler);
  bool handlerRunning() const { return depth_ > 0; }
  // Runs f as a handler now when none runs, else as soon as the running one
  // has returned: everything that is not input (a close box, a focus
  // change, a scroll bar's auto-repeat, a timer) enters handlers here.
  void whenIdle(std::function<void()> f) override;

  // A handler entered while another runs breaks the rule above: debug
  // builds stop, tests set this to fail.
  static inline std::function<void()> onNestedHandler;

 private:
  class InputDropper;
  void dropInputThatCame();
  std::unique_ptr<InputDropper> dropper_;
  int depth_ = 0;
  bool held_ = false;
  bool dropping_ = false;
  std::vector<std::function<void()>> idle_;
};

class QtDesktop : public Desktop {
 public:
  float screenWidthTwips() const override;
  float screenHeightTwips() const override;
  QRectF fittedAreaTwips() const override;
  bool fitted = false;  // the main window does not fit the screen at 1x
  void terminate() override;
};

// Loads Qt's own Japanese translations, so standard buttons read はい / いいえ.
void installJapaneseTranslations();

}  // namespace pastel
