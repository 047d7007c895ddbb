#include <QAction>
#include <memory>

#include "app/pastel_app_view.h"
#include "settings/settings_controller.h"
#include "settings/settings_window_view.h"

namespace pastel {

namespace {

// Keeps the settings window in step with the controller: shown while the
// dialog exists, hidden when it ends. The window itself is made once and
// kept, so no handler running under a yield can find it destroyed.
class SettingsHost : public QObject {
 public:
  SettingsHost(MainWindowView& main, Poster& p) : QObject(&main), main_(main), ctl_(p) {
    setObjectName(QStringLiteral("SettingsHost"));
  }
  ~SettingsHost() override = default;

  void run(const std::function<void()>& f) {
    f();
    after();
  }
  SettingsController& controller() { return ctl_; }

 private:
  void after() {
    if (ctl_.isOpen()) {
      if (!window_) window_ = std::make_unique<SettingsWindowView>(ctl_, [this] { after(); });
      window_->sync();
      if (!window_->isVisible()) {
        window_->show();
        window_->centreOnScreen();
      }
      window_->raise();
    } else if (window_ && window_->isVisible()) {
      window_->hide();
      main_.sync();
      main_.show();
      main_.raise();
    }
    main_.sync();
  }

  MainWindowView& main_;
  SettingsController ctl_;
  std::unique_ptr<SettingsWindowView> window_;
};

SettingsHost* hostOf(MainWindowView& view) {
  return view.findChild<SettingsHost*>(QStringLiteral("SettingsHost"), Qt::FindDirectChildrenOnly);
}

}  // namespace

void wireSettings(MainWindowView& view, Poster& p) {
  auto* host = new SettingsHost(view, p);
  QObject::connect(view.itemSetDir(), &QAction::triggered, host,
                   [host] { host->run([host] { host->controller().menuSetDir(); }); });
}

void openSettingsDialog(MainWindowView& view) {
  if (SettingsHost* host = hostOf(view)) host->run([host] { host->controller().open(); });
}

SettingsController* settingsController(MainWindowView& view) {
  SettingsHost* host = hostOf(view);
  return host ? &host->controller() : nullptr;
}

}  // namespace pastel
