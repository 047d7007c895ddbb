#include "words/kana_input_view.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCharFormat>

namespace pastel {

namespace {

constexpr int kListRows = 5;        // rows seen at once
constexpr int kListPointSize = 22;  // big enough for a child's finger and eyes

}  // namespace

bool isInjectedKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  const auto* k = static_cast<const QKeyEvent*>(event);
  return k->key() == Qt::Key_unknown && k->text().isEmpty() && k->nativeVirtualKey() != 0 &&
         k->nativeScanCode() == 0;
}

KanaInputMethod::KanaInputMethod(QPlainTextEdit* editor, KanaConverter* converter,
                                 std::unique_ptr<KanaConverter> owned)
    : QObject(editor),
      editor_(editor),
      owned_(std::move(owned)),
      composer_(owned_ ? owned_.get() : converter) {
  setObjectName(QStringLiteral("KanaInputMethod"));
  editor_->installEventFilter(this);
  editor_->viewport()->installEventFilter(this);
  lockWatcher_ = std::make_unique<LockWatcher>(&composer_);
  qApp->installEventFilter(lockWatcher_.get());

  // A child of the editor's window, so the pad stays usable while it is open
  // and clicking it never takes the focus from the editor.
  QWidget* host = editor_->parentWidget();
  list_ = new QListWidget(host);
  if (!host) list_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  list_->setObjectName(QStringLiteral("KanaCandidates"));
  list_->setFocusPolicy(Qt::NoFocus);
  list_->viewport()->setFocusPolicy(Qt::NoFocus);
  list_->setAttribute(Qt::WA_ShowWithoutActivating);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setUniformItemSizes(true);
  list_->setStyleSheet(QStringLiteral(
      "QListWidget { background: white; color: black; border: 2px solid #4060c0; }"
      "QListWidget::item { padding: 2px 10px; border: none; }"
      "QListWidget::item:selected { padding: 2px 10px; border: none; background: #c0d0ff;"
      " color: black; }"));
  list_->hide();
  connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    composer_.choose(list_->row(item));
    show();
  });
}

KanaInputMethod::~KanaInputMethod() { delete list_; }

// The kana lock belongs to the keyboard, whoever has the focus.
bool KanaInputMethod::LockWatcher::eventFilter(QObject*, QEvent* event) {
  if (!isInjectedKey(event) ||
      static_cast<QKeyEvent*>(event)->nativeVirtualKey() != quint32(vk::kKanaLock))
    return false;
  if (event->type() == QEvent::KeyPress) composer_->toggleKanaMode();
  return true;
}

void KanaInputMethod::commitPending() {
  if (!composer_.composing()) return;
  composer_.commit();
  show();
}

bool KanaInputMethod::eventFilter(QObject* watched, QEvent* event) {
  // While the editor is being destroyed it is no text edit any more (its
  // focus-out and hide come from QWidget's destructor): nothing to commit to.
  if (!qobject_cast<QPlainTextEdit*>(editor_)) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto* k = static_cast<QKeyEvent*>(event);
      if (!isInjectedKey(event)) {
        // A real keyboard types after what was composed.
        if (event->type() == QEvent::KeyPress) commitPending();
        return false;
      }
      if (watched != editor_) return false;
      const int key = int(k->nativeVirtualKey());
      if (event->type() == QEvent::KeyPress) {
        composer_.keyDown(key);
        show();
      } else {
        composer_.keyUp(key);
      }
      return true;
    }
    case QEvent::FocusOut:
    case QEvent::Hide:
      commitPending();
      return false;
    case QEvent::MouseButtonPress:
      commitPending();
      return false;
    default:
      return false;
  }
}

void KanaInputMethod::show() {
  for (const KanaEdit& e : composer_.takeEdits()) {
    if (e.kind == KanaEdit::Insert) {
      // Through the input method path, so the preedit goes in the same step.
      QInputMethodEvent commit;
      commit.setCommitString(e.text);
      QCoreApplication::sendEvent(editor_, &commit);
      preedit_.clear();
    } else {
      QTextCursor c = editor_->textCursor();
      if (e.kind == KanaEdit::DeleteBefore)
        c.deletePreviousChar();
      else
        c.deleteChar();
      editor_->setTextCursor(c);
    }
  }
  const QString shown = composer_.shown();
  if (shown != preedit_ || composer_.converting() != preeditConverting_) {
    QList<QInputMethodEvent::Attribute> attrs;
    if (!shown.isEmpty()) {
      QTextCharFormat f;
      f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
      // A candidate stands out from plain kana, as in any input method.
      if (composer_.converting()) f.setBackground(QColor(0xc0, 0xd0, 0xff));
      attrs << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, int(shown.size()), f)
            << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, int(shown.size()), 1,
                                            QVariant());
    }
    // Where the composition starts: the caret while nothing is shown.
    if (preedit_.isEmpty()) compositionLeft_ = editor_->cursorRect().left();
    QInputMethodEvent pre(shown, attrs);
    QCoreApplication::sendEvent(editor_, &pre);
    preedit_ = shown;
    preeditConverting_ = composer_.converting();
  }

  const QStringList& cands = composer_.candidates();
  if (!composer_.converting() || cands.isEmpty()) {
    list_->hide();
    return;
  }
  bool same = list_->count() == cands.size();
  for (int i = 0; same && i < cands.size(); ++i) same = list_->item(i)->text() == cands[i];
  if (!same) {
    list_->clear();
    list_->addItems(cands);
  }
  list_->setCurrentRow(composer_.candidateIndex());
  if (!same || list_->isHidden()) placeList();
  list_->show();
  list_->raise();
}

void KanaInputMethod::placeList() {
  // The editor's typeface, which the window may set after attaching.
  QFont f = editor_->font();
  f.setPointSize(kListPointSize);
  list_->setFont(f);
  int width = 0;
  const QFontMetrics fm(list_->font());
  for (int i = 0; i < list_->count(); ++i)
    width = std::max(width, fm.horizontalAdvance(list_->item(i)->text()));
  const int rowHeight = std::max(list_->sizeHintForRow(0), fm.height());
  const int frame = 2 * list_->frameWidth();

  // Above the editor, from where the composition starts: the pad's keys lie
  // under it and beside it, and must stay free to type on. As many rows as
  // fit above it, the rest a scroll away.
  QPoint at = editor_->viewport()->mapTo(editor_, QPoint(compositionLeft_, 0));
  at.setY(0);
  QWidget* host = list_->parentWidget();
  const int room = host ? editor_->mapTo(host, QPoint(0, 0)).y() : kListRows * rowHeight + frame;
  const int rows = candidateListRows(room - frame, rowHeight, list_->count());
  const bool scrolls = list_->count() > rows;
  const int w = std::max(
      120, width + 24 + frame + (scrolls ? list_->verticalScrollBar()->sizeHint().width() : 0));
  const int h = rows * rowHeight + frame;
  if (host) {
    at = editor_->mapTo(host, at);
    at.setX(std::max(0, std::min(at.x(), host->width() - w)));
  } else {
    at = editor_->mapToGlobal(at);
  }
  list_->setGeometry(at.x(), std::max(0, at.y() - h), w, h);
}

int candidateListRows(int room, int rowHeight, int count) {
  const int most = std::min(kListRows, count);
  if (most <= 0 || rowHeight <= 0) return 0;
  return std::clamp(room / rowHeight, 1, most);
}

KanaInputMethod* attachKanaInputMethod(QPlainTextEdit* editor, KanaConverter* converter) {
  return new KanaInputMethod(editor, converter);
}

KanaInputMethod* kanaInputMethodOf(QPlainTextEdit* editor) {
  return editor ? editor->findChild<KanaInputMethod*>(QString(), Qt::FindDirectChildrenOnly)
                : nullptr;
}

}  // namespace pastel
