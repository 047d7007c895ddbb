#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace pastel {

enum class MsgIcon { None, Information, Warning, Exclamation, Critical };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

struct MessageBoxText {
  QString text;
  QString title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  MsgAnswer defaultButton = MsgAnswer::Ok;
};

struct FileDialogRequest {
  QString title;
  QString filter;        // e.g. "HTML(*.html)"
  QString directory;     // where the dialog starts; empty: current folder
  QString defaultName;
  QString defaultSuffix;  // added to a name typed without one, e.g. "html"
};

// A small question answered by one of its own buttons.
struct ChoiceBox {
  QString text;
  QString title;
  QStringList buttons;
  int cancelButton = 0;  // what closing the window answers
};

// Message boxes and file dialogs. Cancel is "no path", never an error.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MsgAnswer message(const MessageBoxText& box) = 0;
  virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
  // The index of the button pressed.
  virtual int choose(const ChoiceBox& box) = 0;
};

}  // namespace pastel
