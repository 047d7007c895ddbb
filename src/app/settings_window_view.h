#pragma once
#include <QWidget>
#include <functional>
#include <memory>

#include "form/settings_form.h"

namespace pastel {

class FormBinder;
class QtEventLoop;
class SettingsController;
struct SettingsDialog;

// The settings window frmList: its controls at their twips geometry, fed
// from the controller's dialog values. Every user action goes to the
// controller as input through the loop; what is not input (its close box)
// through the loop's idle path.
class SettingsWindowView : public QWidget {
 public:
  SettingsWindowView(SettingsController& ctl, QtEventLoop& loop);
  ~SettingsWindowView() override;
  void sync();
  void centreOnScreen();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  SettingsController& ctl_;
  QtEventLoop& loop_;
  SettingsForm form_;
  std::unique_ptr<FormBinder> binder_;
};

}  // namespace pastel
