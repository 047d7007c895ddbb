#include "platform/key_injection_widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <utility>
#include <vector>

namespace pastel {

namespace {

struct KeyBatch : QEvent {
  static QEvent::Type kind() {
    static const auto t = QEvent::Type(QEvent::registerEventType());
    return t;
  }
  KeyBatch() : QEvent(kind()) {}
  std::vector<std::pair<int, bool>> keys;  // virtual key, up
};

}  // namespace

void QtKeyInjector::focus(const QString& target) {
  if (!root_) return;
  QWidget* w = root_->findChild<QWidget*>(target);
  if (w && w->isEnabled()) w->setFocus(Qt::OtherFocusReason);
}

void QtKeyInjector::sendKeyEvents(int n, const int* keys, const int* ups) {
  auto* batch = new KeyBatch;
  for (int i = 0; i < n; ++i) batch->keys.emplace_back(keys[i] & 0xffff, ups[i] != 0);
  QCoreApplication::postEvent(this, batch);
}

void QtKeyInjector::toggleKanaLock() {
  ownLock_ = !ownLock_;
  const int keys[] = {vk::kKanaLock, vk::kKanaLock};
  const int ups[] = {0, 1};
  sendKeyEvents(2, keys, ups);
}

bool QtKeyInjector::kanaLockOn() const { return kanaLockQuery ? kanaLockQuery() : ownLock_; }

void QtKeyInjector::customEvent(QEvent* e) {
  if (e->type() != KeyBatch::kind()) return;
  QPointer<QWidget> target = QApplication::focusWidget();
  // An inactive window still has its focus widget: the keys go there.
  if (!target && root_) target = root_->focusWidget();
  if (!target) return;
  Qt::KeyboardModifiers mods = Qt::NoModifier;
  for (const auto& [key, up] : static_cast<KeyBatch*>(e)->keys) {
    if (key == vk::kShift) mods.setFlag(Qt::ShiftModifier, !up);
    QKeyEvent ev(up ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_unknown, mods, 0, quint32(key),
                 0, QString());
    if (!target) return;
    QCoreApplication::sendEvent(target, &ev);
  }
}

}  // namespace pastel
