#include "app/pastel_app_view.h"

#include <QCoreApplication>

#include "app/startup.h"

namespace pastel {

PastelApp::PastelApp(const Options& options) : options_(options) {
  poster_.svc.dialogs = options.dialogs ? options.dialogs : &qtDialogs_;
  poster_.svc.desktop = options.desktop ? options.desktop : &qtDesktop_;
  poster_.svc.pictures = options.pictures ? options.pictures : &fileLoader_;
  poster_.svc.loop = &loop_;
  poster_.svc.executableFolder = options.executableFolder.isEmpty()
                                     ? QCoreApplication::applicationDirPath()
                                     : options.executableFolder;
  window_ = std::make_unique<MainWindowView>(poster_);
  qtDialogs_.setParent(window_.get());
  capture_ = std::make_unique<ViewPaperCapture>(window_.get());
  poster_.svc.capture = capture_.get();
  keys_.setRoot(window_.get());
  poster_.svc.keys = &keys_;
  loop_.beforeYield = [this] { window_->sync(); };
  wireMainWindow(*window_, poster_);
}

PastelApp::~PastelApp() = default;

void PastelApp::start() {
  startUpBeforeShow(poster_);
  window_->sync();
  window_->move(int(poster_.form.left / kTwipsPerPixel), int(poster_.form.top / kTwipsPerPixel));
  window_->show();
  if (options_.openSettings) openSettingsDialog(*window_);
  startUpAfterShow(poster_);
  window_->sync();
}

}  // namespace pastel
