#include <QPlainTextEdit>

#include "app/pastel_app_view.h"
#include "steps/open_poster.h"
#include "words/kana_input_view.h"
#include "words/word_editor.h"

namespace pastel {

void wireOpening(MainWindowView& view, Poster& p) {
  view.onTriggered(view.itemOpen(), [&view, &p] {
    // A word being edited is closed first, as はりつけ に もどる would, so
    // nothing typed is lost and the pad does not stay over the opened poster.
    if (wordEditorOpen(p)) {
      if (auto* ime = kanaInputMethodOf(view.findChild<QPlainTextEdit*>(QStringLiteral("Text3"))))
        ime->commitPending();
      wordEditorClick(p);
      if (wordEditorOpen(p)) return;
    }
    openPoster(p);
  });
}

}  // namespace pastel
