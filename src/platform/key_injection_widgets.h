#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/key_injection.h"

namespace pastel {

// Posts key events carrying the virtual-key number (Qt::Key_unknown, no
// text) for the word editor's input method to read. Each sendKeyEvents call
// is one queued batch, sent at delivery to the widget that has the focus
// then, so nothing comes between the events of a Shift sequence.
class QtKeyInjector : public QObject, public KeyInjector {
 public:
  explicit QtKeyInjector(QWidget* root = nullptr) : root_(root) {}
  // The window whose elements focus() finds by name.
  void setRoot(QWidget* root) { root_ = root; }

  // Set by the input method: whether its kana lock is on. Without it the
  // injector keeps a lock flag of its own.
  std::function<bool()> kanaLockQuery;

  void focus(const QString& target) override;
  void sendKeyEvents(int n, const int* keys, const int* ups) override;
  void toggleKanaLock() override;
  bool kanaLockOn() const override;

 protected:
  void customEvent(QEvent* e) override;

 private:
  QPointer<QWidget> root_;
  bool ownLock_ = false;
};

}  // namespace pastel
