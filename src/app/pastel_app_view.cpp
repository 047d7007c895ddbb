#include "app/pastel_app_view.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTimer>
#include <utility>

#include "settings/settings_controller.h"
#include "steps/open_poster.h"
#include "steps/startup.h"
#include "words/kana_input_view.h"

namespace pastel {

PastelApp::PastelApp(const Options& options) : options_(options) {
  poster_.svc.dialogs = options.dialogs ? options.dialogs : &qtDialogs_;
  qtDesktop_.fitted = options.fittedToScreen;
  poster_.svc.desktop = options.desktop ? options.desktop : &qtDesktop_;
  poster_.svc.pictures = options.pictures ? options.pictures : &fileLoader_;
  poster_.svc.loop = &loop_;
  poster_.svc.executableFolder = options.executableFolder.isEmpty()
                                     ? QCoreApplication::applicationDirPath()
                                     : options.executableFolder;
  window_ = std::make_unique<MainWindowView>(poster_, loop_);
  // Made before the window first shows, so that it shows inside. Dialogs
  // belong to the view: one shown from the embedded window would be embedded
  // too, and its own modality would then shut it off from the mouse.
  if (options.windowScale < 1)
    scaled_ = std::make_unique<ScaledWindowView>(window_.get(), options.windowScale);
  QWidget* const dialogParent = scaled_ ? static_cast<QWidget*>(scaled_.get()) : window_.get();
  qtDialogs_.setParent(dialogParent);
  capture_ = std::make_unique<RendererCapture>(poster_.form);
  poster_.svc.capture = capture_.get();
  keys_.setRoot(window_.get());
  poster_.svc.keys = &keys_;
  loop_.sync = [this] { window_->sync(); };
  loop_.inputTargets = [this] { return window_->inputTargets(); };
  qtPrinter_.setParent(dialogParent);
  qtPrinter_.beforeDialog = [this] { window_->sync(); };
  poster_.svc.printer = options.printer ? options.printer : &qtPrinter_;
  wireMainWindow(*window_, poster_);
  if (options.keepPoster) {
    KeptPosterStore::Options k;
    k.folder = options.keptFolder;
    kept_ = std::make_unique<KeptPosterStore>(k);
  }
  safety_ = std::make_unique<PosterSafety>(poster_, kept_.get());
  // A change is taken once the handler that made it has returned and no
  // button is held: a whole stroke or drag is one.
  loop_.afterHandler = [this] {
    safety_->afterHandler(QGuiApplication::mouseButtons() == Qt::NoButton);
    tellKeepingTrouble();
    if (!pendingPoster_.isEmpty()) openPendingPosterSoon();
  };
  window_->onEnded = [this] { safety_->endedCleanly(); };
  // Teachers' keys, no button: the window's layout stays the designed one.
  auto shortcut = [this](const QKeySequence& keys, void (PosterSafety::*act)()) {
    auto* s = new QShortcut(keys, window_.get());
    QObject::connect(s, &QShortcut::activated, window_.get(),
                     [this, act] { window_->run([this, act] { (safety_.get()->*act)(); }); });
  };
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &PosterSafety::undo);
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), &PosterSafety::redo);
  shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &PosterSafety::redo);
  // The kana lock is the input method's own.
  if (KanaInputMethod* ime =
          kanaInputMethodOf(window_->findChild<QPlainTextEdit*>(QStringLiteral("Text3"))))
    keys_.kanaLockQuery = [ime] { return ime->kanaLockOn(); };
}

PastelApp::~PastelApp() = default;

void PastelApp::start() {
  startUpBeforeShow(poster_);
  window_->sync();
  window_->move(twipsToPixels(poster_.form.left), twipsToPixels(poster_.form.top));
  window_->show();
  safety_->startFromHere();
  // Asked before the settings dialog, which then shows the words put back.
  // A poster given to open would replace the one put back at once: a poster
  // left behind then waits, untouched, for the next start.
  if (options_.posterFile.isEmpty()) window_->runWhenIdle([this] { safety_->offerLeftBehind(); });
  if (options_.openSettings) window_->runWhenIdle([this] { openSettingsDialog(*window_); });
  startUpAfterShow(poster_);
  window_->sync();
  safety_->startFromHere();
  pendingPoster_ = options_.posterFile;
  if (!pendingPoster_.isEmpty()) openPendingPosterSoon();
  tellKeepingTrouble();
}

// The store finds its trouble on its own thread; it is told after the
// handler during which it was found, once.
void PastelApp::tellKeepingTrouble() {
  if (std::optional<MessageBoxText> m = safety_->keepingWarning())
    window_->runWhenIdle([this, m] { poster_.svc.dialogs->message(*m); });
}

// Confirming the start's settings dialog hands the word list to the word
// slots: the poster waits until no dialog is open, so that its own words stay.
// Every handler that ends the dialog is followed by this check.
void PastelApp::openPendingPosterSoon() {
  if (SettingsController* s = settingsController(*window_); s && s->isOpen()) return;
  QTimer::singleShot(0, window_.get(), [this] {
    if (pendingPoster_.isEmpty()) return;
    const QString path = std::exchange(pendingPoster_, QString());
    window_->runWhenIdle([this, path] { openPosterAt(poster_, path); });
  });
}

}  // namespace pastel
