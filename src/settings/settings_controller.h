#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "settings/settings_dialog.h"

namespace pastel {

struct Poster;

// The settings dialog's life and its messages: what its window forwards,
// in the order the window's events come. Messages go through the poster's
// Dialogs; the window only shows what dialog() holds.
class SettingsController {
 public:
  explicit SettingsController(Poster& p);

  // Where a dialog without a chosen folder starts; default: the process's
  // current folder at creation.
  std::function<QString()> startFolder;
  std::function<QStringList()> listDrives;

  bool isOpen() const { return dialog_.has_value(); }
  SettingsDialog* dialog() { return dialog_ ? &*dialog_ : nullptr; }

  void open();        // creates and loads the dialog unless it exists
  void menuSetDir();  // "設定(&D)"
  void chooseDrive(const QString& drive);
  void chooseFolder(const QString& path);
  void editWordField(int k, const QString& text);  // k = 0 for Text11
  void confirm();                                  // "これでよし"; closes the dialog
  void closedByFrame();                            // the window closed without confirming

 private:
  void warnFile(const QString& text);
  Poster& p_;
  std::optional<SettingsDialog> dialog_;
};

}  // namespace pastel
