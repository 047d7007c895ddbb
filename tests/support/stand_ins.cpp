#include "support/stand_ins.h"

namespace pastel {

MsgAnswer ScriptedDialogs::message(const MessageBoxText& box) {
  messages.push_back(box);
  if (answers.empty()) return box.defaultButton;
  const MsgAnswer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogRequest& request) {
  fileDialogs.push_back(request);
  if (paths.empty()) return std::nullopt;
  const QString p = paths.front();
  paths.pop_front();
  if (p.isEmpty()) return std::nullopt;
  return p;
}

std::optional<QString> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
  return openFile(request);
}

}  // namespace pastel
