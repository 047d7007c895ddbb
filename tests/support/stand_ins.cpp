#include "support/stand_ins.h"

#include <QStringList>

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

std::optional<QString> ScriptedDialogs::openFileShowingPictures(const FileDialogRequest& request,
                                                                const FilePicture& pictureOf) {
  picture = pictureOf;
  return openFile(request);
}

std::optional<SaveChoice> ScriptedDialogs::saveFileOfType(const FileDialogRequest& request,
                                                          const QStringList&) {
  const std::optional<QString> path = openFile(request);
  int type = 0;
  if (!types.empty()) {
    type = types.front();
    types.pop_front();
  }
  if (!path) return std::nullopt;
  return SaveChoice{*path, type};
}

int ScriptedDialogs::choose(const ChoiceBox& box) {
  choices.push_back(box);
  if (chosen.empty()) return box.cancelButton;
  const int a = chosen.front();
  chosen.pop_front();
  return a;
}

void RecordingKeys::sendKeyEvents(int n, const int* keys, const int* ups) {
  QString s = QStringLiteral("keys");
  for (int i = 0; i < n; ++i) s += QStringLiteral(" %1%2").arg(keys[i]).arg(ups[i] ? 'u' : 'd');
  log.push_back(s);
}

QString RecordingKeys::take() {
  QStringList all(log.begin(), log.end());
  log.clear();
  return all.join(QStringLiteral("; "));
}

}  // namespace pastel
