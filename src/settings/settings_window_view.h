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
  void syncFolders(const SettingsDialog& d);
  SettingsController& ctl_;
  Runner run_, runWhenIdle_;
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
