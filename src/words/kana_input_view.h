#pragma once
#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <memory>

#include "platform/kana_converter.h"
#include "words/kana_composer.h"

class QPlainTextEdit;

namespace pastel {

// The word editor's own Japanese input method. Injected key events (key
// Qt::Key_unknown, no text, the virtual key in nativeVirtualKey) are
// composed as a JIS keyboard in kana mode would: the composition is shown
// underlined at the caret as a preedit, conversions open a candidate list
// above the editor, clear of the kana pad. Keys from a real keyboard pass
// through untouched.
//
// The kana lock (virtual key 0x15) is the keyboard's state, not the
// editor's: it is toggled wherever the key is delivered. kanaLockOn() is
// the state the key injector's kana-lock query reports.
//
// Losing the focus, a click into the editor or a real key commits a pending
// composition (the candidate shown when converting), so the editor's text
// always holds everything typed; commitPending() does the same on demand.
class KanaInputMethod : public QObject {
  Q_OBJECT

 public:
  KanaInputMethod(QPlainTextEdit* editor, KanaConverter* converter,
                  std::unique_ptr<KanaConverter> owned = nullptr);
  ~KanaInputMethod() override;

  bool kanaLockOn() const { return composer_.kanaMode(); }
  void commitPending();

  const KanaComposer& composer() const { return composer_; }
  QListWidget* candidateList() const { return list_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class LockWatcher : public QObject {
   public:
    explicit LockWatcher(KanaComposer* composer) : composer_(composer) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    KanaComposer* composer_;
  };

  void show();
  void placeList();

  QPlainTextEdit* editor_;
  std::unique_ptr<KanaConverter> owned_;
  KanaComposer composer_;
  QPointer<QListWidget> list_;
  std::unique_ptr<LockWatcher> lockWatcher_;
  QString preedit_;
  bool preeditConverting_ = false;
  int compositionLeft_ = 0;  // in the viewport
};

// How many of `count` candidates the list shows in `room` pixels above the
// editor: at least one, at most the list's rows; none when there is nothing
// to show, and then no list is placed.
int candidateListRows(int room, int rowHeight, int count);

// An injected key event as the key injector posts it.
bool isInjectedKey(const QEvent* event);

// Attaches the input method to the editor (owned by it). The converter is
// not owned; null converts nothing.
KanaInputMethod* attachKanaInputMethod(QPlainTextEdit* editor, KanaConverter* converter);
// The input method attached to an editor, or null.
KanaInputMethod* kanaInputMethodOf(QPlainTextEdit* editor);

}  // namespace pastel
