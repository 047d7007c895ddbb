#pragma once
#include <memory>

#include "app/main_window_view.h"
#include "app/scaled_window_view.h"
#include "canvas/poster.h"
#include "capture/poster_renderer.h"
#include "keeping/kept_poster.h"
#include "platform/file_picture_loader.h"
#include "platform/key_injection_widgets.h"
#include "platform/qt_platform_widgets.h"
#include "platform/qt_printer_widgets.h"
#include "steps/poster_safety.h"

namespace pastel {

// The whole program: poster model, platform services and windows. Tests
// hand in scripted dialogs and a desktop that does not end the process.
class PastelApp {
 public:
  struct Options {
    Dialogs* dialogs = nullptr;         // default: Qt message boxes
    Desktop* desktop = nullptr;         // default: the real screen and exit
    PictureLoader* pictures = nullptr;  // default: picture files
    Printer* printer = nullptr;         // default: the desktop's printer
    QString executableFolder;           // default: the running program's folder
    bool openSettings = true;           // start-up shows the settings dialog
    // The poster kept after every change and offered back after a crash;
    // keptFolder empty: the account's state folder.
    bool keepPoster = false;
    QString keptFolder;
    QString posterFile;           // a poster to open once start-up has finished
    bool fittedToScreen = false;  // the window does not fit the screen at 1x
    // Below 1: what the screen's scale could not take; the window is drawn
    // that much smaller in a view of its own.
    double windowScale = 1;
  };
  explicit PastelApp(const Options& options);
  ~PastelApp();

  // Start-up: centre, start values, AppFolder, show, settings, paper. A
  // poster file given opens from the event loop once the settings dialog of
  // the start has been confirmed or closed.
  void start();

  Poster& poster() { return poster_; }
  PosterSafety& safety() { return *safety_; }
  MainWindowView& window() { return *window_; }
  // The word editor's key strokes; its input method reads and answers them.
  QtKeyInjector& keyInjector() { return keys_; }

 private:
  Poster poster_;
  QtDialogs qtDialogs_;
  QtEventLoop loop_;
  QtDesktop qtDesktop_;
  FilePictureLoader fileLoader_;
  QtPrinter qtPrinter_;
  QtKeyInjector keys_;
  std::unique_ptr<MainWindowView> window_;
  std::unique_ptr<ScaledWindowView> scaled_;  // gone before the window it shows
  std::unique_ptr<RendererCapture> capture_;
  std::unique_ptr<KeptPosterStore> kept_;
  std::unique_ptr<PosterSafety> safety_;
  Options options_;
  QString pendingPoster_;  // named on the command line, not opened yet

  void openPendingPosterSoon();
  void tellKeepingTrouble();
};

// Attaches every subsystem's handlers to the main window's elements; each
// subsystem wires its own in its folder.
void wireMainWindow(MainWindowView& view, Poster& poster);
void wireWizard(MainWindowView& view, Poster& poster);
void wireCanvas(MainWindowView& view, Poster& poster);
void wireWords(MainWindowView& view, Poster& poster);
void wireSettings(MainWindowView& view, Poster& poster);
void wireSaving(MainWindowView& view, Poster& poster);
void wireCapture(MainWindowView& view, Poster& poster);
// The word editor's kana input method, converting through Anthy; null while
// the window has no "Text3".
class KanaInputMethod;
KanaInputMethod* wireKanaInput(MainWindowView& view, Poster& poster);
void wireOpening(MainWindowView& view, Poster& poster);
void wireWordEditor(MainWindowView& view, Poster& poster);

// The settings dialog frmList: created and shown unless it is open (a handler).
class SettingsController;
void openSettingsDialog(MainWindowView& view);
SettingsController* settingsController(MainWindowView& view);

}  // namespace pastel
