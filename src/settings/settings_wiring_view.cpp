#include <QAction>
#include <QPointer>

#include "app/pastel_app_view.h"
#include "settings/settings_controller.h"
#include "settings/settings_window_view.h"

namespace pastel {

namespace {

// Keeps the settings window in step with the controller: made when the
// dialog comes into being, destroyed when it ends.
class SettingsHost : public QObject {
 public:
  SettingsHost(MainWindowView& main, Poster& p) : QObject(&main), main_(main), ctl_(p) {
    setObjectName(QStringLiteral("SettingsHost"));
  }
  ~SettingsHost() override { delete window_; }

  void run(const std::function<void()>& f) {
    f();
    after();
  }
  SettingsController& controller() { return ctl_; }

 private:
  void after() {
    if (ctl_.isOpen() && !window_) {
      window_ = new SettingsWindowView(ctl_, [this] { after(); });
      window_->show();
      window_->centreOnScreen();
    }
    if (window_ && ctl_.isOpen()) {
      window_->sync();
      window_->raise();
    }
    if (window_ && !ctl_.isOpen()) {
      window_->hide();
      window_->deleteLater();
      window_ = nullptr;
      main_.sync();
      main_.show();
      main_.raise();
    }
    main_.sync();
  }

  MainWindowView& main_;
  SettingsController ctl_;
  QPointer<SettingsWindowView> window_;
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
