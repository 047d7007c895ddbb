#pragma once
#include <deque>
#include <vector>

#include "form/twips.h"
#include "platform/dialogs.h"
#include "platform/key_injection.h"
#include "platform/services.h"

namespace pastel {

// For tests: records every box and dialog, answers from queues. An empty
// answer queue gives the default button and a cancelled file dialog.
class ScriptedDialogs : public Dialogs {
 public:
  MsgAnswer message(const MessageBoxText& box) override;
  std::optional<QString> openFile(const FileDialogRequest& request) override;
  std::optional<QString> saveFile(const FileDialogRequest& request) override;

  std::vector<MessageBoxText> messages;
  std::vector<FileDialogRequest> fileDialogs;
  std::deque<MsgAnswer> answers;
  std::deque<QString> paths;  // an empty path answers as Cancel
};

// Test stand-ins that do nothing but count.
class CountingLoop : public EventLoop {
 public:
  void yield() override { ++yields; }
  int yields = 0;
};

class FixedDesktop : public Desktop {
 public:
  FixedDesktop(float w = 1920 * kTwipsPerPixel, float h = 1080 * kTwipsPerPixel) : w_(w), h_(h) {}
  float screenWidthTwips() const override { return w_; }
  float screenHeightTwips() const override { return h_; }
  void terminate() override { ++terminated; }
  int terminated = 0;

 private:
  float w_, h_;
};

// Records the key strokes as text, one entry a call: "focus Text3",
// "keys 16d 48d 48u 16u", "kana" for the kana-lock key (which it toggles).
class RecordingKeys : public KeyInjector {
 public:
  void focus(const QString& target) override { log.push_back("focus " + target); }
  void sendKeyEvents(int n, const int* keys, const int* ups) override;
  void toggleKanaLock() override {
    lock = !lock;
    log.push_back(QStringLiteral("kana"));
  }
  bool kanaLockOn() const override { return lock; }
  // The log so far joined with "; ", then cleared.
  QString take();

  std::vector<QString> log;
  bool lock = false;
};

}  // namespace pastel
