#pragma once
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
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
  QString filter;     // e.g. "HTML(*.html)"
  QString directory;  // where the dialog starts; empty: current folder
  QString defaultName;
  QString defaultSuffix;  // added to a name typed without one, e.g. "html"
};

// A file's picture for a file dialog, made on a worker thread; null where
// the file has none (the dialog then shows its plain icon).
using FilePicture = std::function<QImage(const QString& path)>;

// A name chosen in a save dialog with several file types, and the type that
// was chosen (its index in the filter) when the dialog closed.
struct SaveChoice {
  QString path;
  int type = 0;
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
  // The open dialog showing each file as its picture, in an icon view; the
  // pictures appear as they are made, away from the dialog's thread.
  virtual std::optional<QString> openFileShowingPictures(const FileDialogRequest& request,
                                                         const FilePicture& picture) = 0;
  // The save dialog with the file types of `request.filter`, separated by
  // ";;", the first chosen at first. While type i is chosen, `suffixes[i]`
  // (when not empty) is added to a name typed without one.
  virtual std::optional<SaveChoice> saveFileOfType(const FileDialogRequest& request,
                                                   const QStringList& suffixes) = 0;
  // The index of the button pressed.
  virtual int choose(const ChoiceBox& box) = 0;
};

}  // namespace pastel
