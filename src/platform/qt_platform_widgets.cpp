#include "platform/qt_platform_widgets.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <algorithm>
#include <vector>

#include "platform/picture_icons_widgets.h"
#include "platform/twips.h"

namespace pastel {

MsgAnswer QtDialogs::message(const MessageBoxText& box) {
  QMessageBox mb(parent_);
  mb.setWindowTitle(box.title);
  mb.setText(box.text);
  switch (box.icon) {
    case MsgIcon::Information:
      mb.setIcon(QMessageBox::Information);
      break;
    case MsgIcon::Warning:
    case MsgIcon::Exclamation:
      mb.setIcon(QMessageBox::Warning);
      break;
    case MsgIcon::Critical:
      mb.setIcon(QMessageBox::Critical);
      break;
    case MsgIcon::None:
      break;
  }
  if (box.buttons == MsgButtons::YesNo) {
    mb.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    mb.setDefaultButton(box.defaultButton == MsgAnswer::Yes ? QMessageBox::Yes : QMessageBox::No);
    mb.setEscapeButton(QMessageBox::No);
  } else {
    mb.setStandardButtons(QMessageBox::Ok);
  }
  const int r = mb.exec();
  if (box.buttons == MsgButtons::YesNo)
    return r == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
  return MsgAnswer::Ok;
}

namespace {
// Qt's own dialog, the same on every desktop, for an existing file or any name.
void setUpFileDialog(QFileDialog& dlg, bool save) {
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
}

// Runs the dialog on the name asked for: the file chosen, or none.
std::optional<QString> chosenFile(QFileDialog& dlg, const FileDialogRequest& request) {
  if (!request.defaultName.isEmpty()) dlg.selectFile(request.defaultName);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  return dlg.selectedFiles().front();
}

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request, bool save) {
  QFileDialog dlg(parent, request.title, request.directory, request.filter);
  setUpFileDialog(dlg, save);
  // Added before the overwrite question, so that is asked for the real name.
  if (!request.defaultSuffix.isEmpty()) dlg.setDefaultSuffix(request.defaultSuffix);
  return chosenFile(dlg, request);
}
}  // namespace

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request) {
  return runFileDialog(parent_, request, false);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request) {
  return runFileDialog(parent_, request, true);
}

int QtDialogs::choose(const ChoiceBox& box) {
  QMessageBox mb(parent_);
  mb.setWindowTitle(box.title);
  mb.setText(box.text);
  std::vector<QAbstractButton*> buttons;
  for (const QString& caption : box.buttons)
    buttons.push_back(mb.addButton(caption, QMessageBox::ActionRole));
  if (buttons.empty()) return box.cancelButton;
  const int cancel = std::clamp(box.cancelButton, 0, int(buttons.size()) - 1);
  mb.setEscapeButton(buttons[size_t(cancel)]);  // also the close box
  mb.exec();
  const auto at = std::find(buttons.begin(), buttons.end(), mb.clickedButton());
  return at == buttons.end() ? cancel : int(at - buttons.begin());
}

void QtEventLoop::yield() {
  if (sync) sync();
  held_ = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtEventLoop::runHandler(const std::function<void()>& handler) {
  if (depth_ > 0) {
    if (onNestedHandler)
      onNestedHandler();
    else
      Q_ASSERT_X(false, "QtEventLoop::runHandler", "a handler entered while another runs");
  }
  const QByteArray before = depth_ == 0 && inputTargets ? inputTargets() : QByteArray();
  ++depth_;
  handler();
  if (sync) sync();
  if (--depth_ > 0) return;
  if (!dropping_ && inputTargets && inputTargets() != before) dropInputThatCame();
  if (afterHandler) afterHandler();
  while (!idle_.empty()) {
    const std::vector<std::function<void()>> now = std::move(idle_);
    idle_.clear();
    for (const auto& f : now) runHandler(f);
  }
  if (!held_) return;
  held_ = false;
  // Held input waits for the dispatcher's next wake, which may not come
  // before the child moves the mouse again: the click would look lost.
  if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}

// Eats the window system's input while the loop drops it, and afterwards
// the moves and release of a press it ate; what the program posts itself
// (the kana pad's keys) goes through.
class QtEventLoop::InputDropper : public QObject {
 public:
  bool dropping = false;
  Qt::MouseButtons eaten;  // pressed while dropping, not yet let go
  bool eventFilter(QObject*, QEvent* e) override {
    if (!e->spontaneous()) return false;
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        if (!dropping) return false;
        eaten |= static_cast<QMouseEvent*>(e)->button();
        return true;
      case QEvent::MouseMove:
        return dropping || (static_cast<QMouseEvent*>(e)->buttons() & eaten);
      case QEvent::MouseButtonRelease: {
        const Qt::MouseButton b = static_cast<QMouseEvent*>(e)->button();
        const bool eat = dropping || (eaten & b);
        eaten &= ~b;
        return eat;
      }
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::TabletPress:
      case QEvent::TabletMove:
      case QEvent::TabletRelease:
        return dropping;
      default:
        return false;
    }
  }
};

QtEventLoop::QtEventLoop() = default;

QtEventLoop::~QtEventLoop() {
  if (dropper_ && QCoreApplication::instance())
    QCoreApplication::instance()->removeEventFilter(dropper_.get());
}

void QtEventLoop::dropInputThatCame() {
  held_ = false;
  if (!dropper_) {
    dropper_ = std::make_unique<InputDropper>();
    QCoreApplication::instance()->installEventFilter(dropper_.get());
  }
  // The child's input already queued is delivered now, into the dropper.
  // Whatever else runs meanwhile that is not input waits, as in a handler.
  dropping_ = dropper_->dropping = true;
  if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  dropping_ = dropper_->dropping = false;
}

void QtEventLoop::whenIdle(std::function<void()> f) {
  if (depth_ == 0 && !dropping_)
    runHandler(f);
  else
    idle_.push_back(std::move(f));
}

float QtDesktop::screenWidthTwips() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return float(s ? s->geometry().width() : 1024) * kTwipsPerPixel;
}

float QtDesktop::screenHeightTwips() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return float(s ? s->geometry().height() : 768) * kTwipsPerPixel;
}

QRectF QtDesktop::fittedAreaTwips() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!fitted || !s) return {};
  const QRect a = s->availableGeometry();
  return {a.x() * kTwipsPerPixel, a.y() * kTwipsPerPixel, a.width() * kTwipsPerPixel,
          a.height() * kTwipsPerPixel};
}

void QtDesktop::terminate() { QCoreApplication::exit(0); }

void installJapaneseTranslations() {
  auto* t = new QTranslator(qApp);
  if (t->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
              QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(t);
  else
    delete t;
}

std::optional<QString> QtDialogs::openFileShowingPictures(const FileDialogRequest& request,
                                                          const FilePicture& picture) {
  QFileDialog dlg(parent_, request.title, request.directory, request.filter);
  setUpFileDialog(dlg, false);
  // The dialog takes the model as its child, and waits in deleting it for
  // the pictures being made.
  (new PictureIcons(picture, &dlg))->showIn(dlg);
  return chosenFile(dlg, request);
}

std::optional<SaveChoice> QtDialogs::saveFileOfType(const FileDialogRequest& request,
                                                    const QStringList& suffixes) {
  QFileDialog dlg(parent_, request.title, request.directory, request.filter);
  setUpFileDialog(dlg, true);
  const QStringList types = dlg.nameFilters();
  auto suffixOf = [&](const QString& type) {
    const qsizetype i = types.indexOf(type);
    return i >= 0 && i < suffixes.size() ? suffixes[i] : QString();
  };
  // Added before the overwrite question, so that is asked for the real name.
  dlg.setDefaultSuffix(types.isEmpty() ? QString() : suffixOf(types.front()));
  QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg,
                   [&](const QString& type) { dlg.setDefaultSuffix(suffixOf(type)); });
  const std::optional<QString> file = chosenFile(dlg, request);
  if (!file) return std::nullopt;
  return SaveChoice{*file, int(types.indexOf(dlg.selectedNameFilter()))};
}

}  // namespace pastel
