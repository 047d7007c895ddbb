#include "settings/settings_controller.h"

#include <QDir>

#include "canvas/poster.h"
#include "platform/dialogs.h"
#include "platform/drives.h"

namespace pastel {

SettingsController::SettingsController(Poster& p)
    : startFolder([] { return QDir::currentPath(); }), listDrives(availableDrives), p_(p) {}

void SettingsController::warnFile(const QString& text) {
  if (!p_.svc.dialogs) return;
  p_.svc.dialogs->message({text, QStringLiteral("ファイルエラー"), MsgIcon::Warning});
}

void SettingsController::open() {
  if (dialog_) return;
  dialog_.emplace();
  const SettingsLoad r = loadSettings(p_, *dialog_, startFolder(), listDrives());
  if (!r.wordsRead)
    warnFile(QStringLiteral("ことばの ファイルが よめません。\n%1\nことばは いまの ままです。")
                 .arg(QDir::toNativeSeparators(dialog_->templatePath)));
}

void SettingsController::menuSetDir() {
  if (!p_.settingsDrive.isEmpty()) {
    chooseDrive(p_.settingsDrive);
    chooseFolder(p_.pictureFolderPath);
  }
  open();
}

void SettingsController::chooseDrive(const QString& drive) {
  open();
  // Choosing the drive already shown changes nothing: the open folder stays.
  if (drive == dialog_->drive) return;
  if (changeDrive(*dialog_, drive, startFolder())) return;
  if (!p_.svc.dialogs) return;
  p_.svc.dialogs->message({QStringLiteral("ディスクをセットしてください"),
                           QStringLiteral("ドライブエラー"), MsgIcon::Warning});
}

void SettingsController::chooseFolder(const QString& path) {
  open();
  changeFolder(*dialog_, path);
}

void SettingsController::editWordField(int k, const QString& text) {
  if (!dialog_ || k < 0 || k >= kSlots) return;
  dialog_->wordFields[k] = text;
  dialog_->fieldSet[k] = true;
}

void SettingsController::confirm() {
  if (!dialog_) return;
  // The message box and the strip's fill yield to the event loop, where the
  // window may be closed or confirmed again: the confirmation works on its
  // own copy, and the dialog is gone for everyone else from here on.
  const SettingsDialog d = std::move(*dialog_);
  dialog_.reset();
  if (noPicturesToOffer(d) && p_.svc.dialogs) {
    p_.svc.dialogs->message(
        {QStringLiteral("がぞうがありません、がぞうをいれるには　[設定]からおこなってください。"),
         QStringLiteral("確認"), MsgIcon::Information});
  }
  const SettingsConfirm r = confirmSettings(p_, d);
  if (!r.wordsRead)
    warnFile(
        QStringLiteral("ことばを ファイルから よめませんでした。\n%1\nファイルは そのままです。")
            .arg(QDir::toNativeSeparators(d.templatePath)));
  else if (!r.wordsStored)
    warnFile(QStringLiteral("ことばを ファイルに しまえませんでした。\n%1")
                 .arg(QDir::toNativeSeparators(d.templatePath)));
}

void SettingsController::closedByFrame() { dialog_.reset(); }

}  // namespace pastel
