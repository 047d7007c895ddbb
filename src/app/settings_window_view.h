#pragma once
#include <QWidget>
#include <functional>
#include <memory>

#include "form/settings_form.h"

namespace pastel {

class FormBinder;
class SettingsController;
struct SettingsDialog;

// The settings window frmList: its controls at their twips geometry, fed
// from the controller's dialog values. Every user action goes to the
// controller through `run`; what the window system sends during a yield (its
// close box) through `runWhenIdle`.
class SettingsWindowView : public QWidget {
 public:
  using Runner = std::function<void(const std::function<void()>&)>;
  SettingsWindowView(SettingsController& ctl, Runner run, Runner runWhenIdle);
  ~SettingsWindowView() override;
  void sync();
  void centreOnScreen();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  SettingsController& ctl_;
  Runner run_, runWhenIdle_;
  SettingsForm form_;
  std::unique_ptr<FormBinder> binder_;
};

}  // namespace pastel
