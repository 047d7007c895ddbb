#include "platform/qt_platform_widgets.h"

#include <QApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTranslator>

namespace pastel {

MsgAnswer QtDialogs::message(const MessageSpec& spec) {
  QMessageBox box(parent_);
  box.setWindowTitle(spec.title);
  box.setText(spec.text);
  switch (spec.icon) {
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning:
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::None: break;
  }
  if (spec.buttons == MsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(spec.defaultButton == MsgAnswer::Yes ? QMessageBox::Yes
                                                              : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int r = box.exec();
  if (spec.buttons == MsgButtons::YesNo) return r == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
  return MsgAnswer::Ok;
}

namespace {
std::optional<QString> runFileDialog(QWidget* parent, const FileDialogSpec& spec, bool save) {
  QFileDialog dlg(parent, spec.title, spec.directory, spec.filter);
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!spec.defaultName.isEmpty()) dlg.selectFile(spec.defaultName);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  return dlg.selectedFiles().front();
}
}  // namespace

std::optional<QString> QtDialogs::openFile(const FileDialogSpec& spec) {
  return runFileDialog(parent_, spec, false);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogSpec& spec) {
  return runFileDialog(parent_, spec, true);
}

void QtEventLoop::yield() {
  if (beforeYield) beforeYield();
  QCoreApplication::processEvents();
}

float QtDesktop::screenWidthTwips() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? float(s->geometry().width() * 15) : 1024 * 15.0f;
}

float QtDesktop::screenHeightTwips() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? float(s->geometry().height() * 15) : 768 * 15.0f;
}

void QtDesktop::terminate() {
  QCoreApplication::exit(0);
}

void installJapaneseTranslations() {
  auto* t = new QTranslator(qApp);
  if (t->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
              QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(t);
  else
    delete t;
}

}  // namespace pastel
