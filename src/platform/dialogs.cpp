#include "platform/dialogs.h"

namespace pastel {

MsgAnswer ScriptedDialogs::message(const MessageSpec& spec) {
  messages.push_back(spec);
  if (answers.empty()) return spec.defaultButton;
  const MsgAnswer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogSpec& spec) {
  fileDialogs.push_back(spec);
  if (paths.empty()) return std::nullopt;
  const QString p = paths.front();
  paths.pop_front();
  if (p.isEmpty()) return std::nullopt;
  return p;
}

std::optional<QString> ScriptedDialogs::saveFile(const FileDialogSpec& spec) {
  return openFile(spec);
}

}  // namespace pastel
