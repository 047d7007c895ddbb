#include <QPlainTextEdit>

#include "app/pastel_app_view.h"
#include "platform/anthy_converter.h"
#include "words/kana_input_view.h"

namespace pastel {

KanaInputMethod* wireKanaInput(MainWindowView& view, Poster&) {
  auto* editor = view.findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
  if (!editor) return nullptr;
  return new KanaInputMethod(editor, nullptr, std::make_unique<AnthyConverter>(anthyHomeFolder()));
}

}  // namespace pastel
