#pragma once
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "form/settings_form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pastel {

class FormBinder;
class SettingsController;
struct SettingsDialog;

// The settings window frmList: its controls at their twips geometry, fed
// from the controller's dialog values. Every user action goes to the
// controller, then afterEach lets the owner bring all windows up to date.
class SettingsWindowView : public QWidget {
 public:
  SettingsWindowView(SettingsController& ctl, std::function<void()> afterEach);
  ~SettingsWindowView() override;
  void sync();
  void centreOnScreen();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void act(const std::function<void()>& f);
  void syncFolders(const SettingsDialog& d);
  SettingsController& ctl_;
  std::function<void()> afterEach_;
  SettingsForm form_;
  std::unique_ptr<FormBinder> binder_;
  QListWidget* files_ = nullptr;
  QComboBox* drives_ = nullptr;
  QListWidget* folders_ = nullptr;
  std::array<QLineEdit*, 10> words_{};
  QStringList folderPaths_;
  bool syncing_ = false;
};

}  // namespace pastel
