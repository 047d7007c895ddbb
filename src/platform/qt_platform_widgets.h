#pragma once
#include <functional>

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

 private:
  QWidget* parent_;
};

class QtEventLoop : public EventLoop {
 public:
  std::function<void()> beforeYield;  // the view's sync
  void yield() override;
};

class QtDesktop : public Desktop {
 public:
  float screenWidthTwips() const override;
  float screenHeightTwips() const override;
  void terminate() override;
};

// Loads Qt's own Japanese translations, so standard buttons read はい / いいえ.
void installJapaneseTranslations();

}  // namespace pastel
