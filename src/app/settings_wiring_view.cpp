#include <QAction>
#include <memory>

#include "app/pastel_app_view.h"
#include "app/settings_window_view.h"
#include "settings/settings_controller.h"

namespace pastel {

namespace {

// Keeps the settings window in step with the controller: shown while the
// dialog exists, hidden when it ends. The window is made once and kept, so
// no handler can find it destroyed.
class SettingsHost : public QObject {
 public:
  SettingsHost(MainWindowView& main, Poster& p)
      : QObject(&main), main_(main), ctl_(p), window_(ctl_, main.eventLoop()) {
    setObjectName(QStringLiteral("SettingsHost"));
    main.alsoSync([this] { syncWindow(); });
  }

  SettingsController& controller() { return ctl_; }

 private:
  void syncWindow() {
    if (ctl_.isOpen()) {
      window_.sync();
      if (!window_.isVisible()) {
        window_.show();
        window_.centreOnScreen();
        window_.raise();
      }
      shown_ = true;
    } else if (shown_) {
      shown_ = false;
      window_.hide();
      main_.show();
      main_.raise();
    }
  }

  MainWindowView& main_;
  SettingsController ctl_;
  SettingsWindowView window_;
  bool shown_ = false;
};

SettingsHost* hostOf(MainWindowView& view) {
  return view.findChild<SettingsHost*>(QStringLiteral("SettingsHost"), Qt::FindDirectChildrenOnly);
}

}  // namespace

void wireSettings(MainWindowView& view, Poster& p) {
  auto* host = new SettingsHost(view, p);
  view.onTriggered(view.itemSetDir(), [host] { host->controller().menuSetDir(); });
}

void openSettingsDialog(MainWindowView& view) {
  if (SettingsHost* host = hostOf(view)) host->controller().open();
}

SettingsController* settingsController(MainWindowView& view) {
  SettingsHost* host = hostOf(view);
  return host ? &host->controller() : nullptr;
}

}  // namespace pastel
