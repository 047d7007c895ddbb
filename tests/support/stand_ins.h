#pragma once
#include <QPdfWriter>
#include <deque>
#include <functional>
#include <vector>

#include "platform/dialogs.h"
#include "platform/key_injection.h"
#include "platform/printer.h"
#include "platform/services.h"
#include "platform/twips.h"

namespace pastel {

// For tests: records every box and dialog, answers from queues. An empty
// answer queue gives the default button and a cancelled file dialog.
class ScriptedDialogs : public Dialogs {
 public:
  MsgAnswer message(const MessageBoxText& box) override;
  std::optional<QString> openFile(const FileDialogRequest& request) override;
  std::optional<QString> saveFile(const FileDialogRequest& request) override;
  std::optional<QString> openFileShowingPictures(const FileDialogRequest& request,
                                                 const FilePicture& picture) override;
  std::optional<SaveChoice> saveFileOfType(const FileDialogRequest& request,
                                           const QStringList& suffixes) override;
  int choose(const ChoiceBox& box) override;

  std::vector<MessageBoxText> messages;
  std::vector<FileDialogRequest> fileDialogs;
  std::deque<MsgAnswer> answers;
  std::deque<QString> paths;  // an empty path answers as Cancel
  std::deque<int> types;      // the file type chosen with each saved name; BMP when empty
  FilePicture picture;        // what the last open dialog would show files with
  std::vector<ChoiceBox> choices;
  std::deque<int> chosen;  // empty: the window closed
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
  QRectF fittedAreaTwips() const override { return fitted; }
  void terminate() override { ++terminated; }
  int terminated = 0;
  QRectF fitted;

 private:
  float w_, h_;
};

// Prints to a PDF file (A4 portrait unless a test sets another layout);
// the setup dialog answers from a queue, Accepted when it is empty.
class PdfPrinter : public Printer {
 public:
  explicit PdfPrinter(const QString& path) : writer(path) {}
  PrinterSetup showSetupDialog() override {
    ++dialogs;
    if (onDialog) onDialog();
    if (answers.empty()) return PrinterSetup::Accepted;
    const PrinterSetup a = answers.front();
    answers.pop_front();
    return a;
  }
  QPagedPaintDevice* device() override { return &writer; }

  QPdfWriter writer;
  std::deque<PrinterSetup> answers;
  std::function<void()> onDialog;  // runs while the dialog would be open
  int dialogs = 0;
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
