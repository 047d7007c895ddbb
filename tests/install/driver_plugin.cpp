// Loaded into the installed program by the install tests (Qt's generic
// plugin hook, QT_QPA_GENERIC_PLUGINS=pastel_driver): changes one word in
// the settings dialog, confirms it, and writes what it saw to the file
// named by PASTEL_DRIVER_OUT. With PASTEL_DRIVER_MODE=look it reads the
// settings dialog's first word and closes the dialog from its frame; then,
// once a poster given on the command line has opened or a message has come
// (and been answered), it reports the step title and the words on the paper.
// The program itself knows nothing of it.
#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

namespace {

QWidget* topLevel(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == name && w->isVisible()) return w;
  return nullptr;
}

class Driver : public QObject {
 public:
  Driver() {
    if (qEnvironmentVariable("PASTEL_DRIVER_MODE") == QLatin1String("look")) stage_ = 10;
    poll_.setInterval(50);
    connect(&poll_, &QTimer::timeout, this, [this] { step(); });
    poll_.start();
    // A driver that cannot finish must not leave the program running.
    QTimer::singleShot(30000, this,
                       [this] { finish(QStringLiteral("timeout in stage %1").arg(stage_)); });
  }

 private:
  void step() {
    if (stage_ == 0) {
      QWidget* settings = topLevel(QStringLiteral("frmList"));
      auto* field = settings ? settings->findChild<QLineEdit*>(QStringLiteral("Text13")) : nullptr;
      auto* ok =
          settings ? settings->findChild<QPushButton*>(QStringLiteral("Command12")) : nullptr;
      if (!field || !ok) return;
      lines_ << QStringLiteral("settings-title=") + settings->windowTitle();
      field->selectAll();
      field->insert(qEnvironmentVariable("PASTEL_DRIVER_WORD"));  // as if typed
      stage_ = 1;
      // Clicked from the event loop: the message box it may open runs its
      // own loop, in which this poll must go on.
      QMetaObject::invokeMethod(ok, &QPushButton::click, Qt::QueuedConnection);
    } else if (stage_ == 1) {
      // The folder holds no picture: "確認" says so, and is answered.
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        lines_ << QStringLiteral("message-title=") + box->windowTitle();
        box->accept();
        return;
      }
      if (topLevel(QStringLiteral("frmList"))) return;
      QWidget* main = topLevel(QStringLiteral("Form1"));
      auto* paper = main ? main->findChild<QPushButton*>(QStringLiteral("Command12")) : nullptr;
      if (!paper) return;
      stage_ = 2;
      QMetaObject::invokeMethod(paper, &QPushButton::click, Qt::QueuedConnection);  // the palette
    } else if (stage_ == 2) {
      QWidget* palette = topLevel(QStringLiteral("Form2"));
      if (!palette) return;
      lines_ << QStringLiteral("palette-title=") + palette->windowTitle();
      finish(QString());
    } else if (stage_ == 10) {
      QWidget* settings = topLevel(QStringLiteral("frmList"));
      auto* field = settings ? settings->findChild<QLineEdit*>(QStringLiteral("Text11")) : nullptr;
      if (!field) return;
      lines_ << QStringLiteral("settings-word1=") + field->text();
      stage_ = 11;
      QMetaObject::invokeMethod(settings, &QWidget::close, Qt::QueuedConnection);
    } else if (stage_ >= 11) {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        lines_ << QStringLiteral("message-title=") + box->windowTitle();
        lines_ << QStringLiteral("message-text=") + box->text();
        box->accept();
        stage_ = 12;
        return;
      }
      QWidget* main = topLevel(QStringLiteral("Form1"));
      auto* title = main ? main->findChild<QLabel*>(QStringLiteral("Label5")) : nullptr;
      if (!title) return;
      // A refused file: the program must go on, still in step 1, a second on.
      const bool opened = title->text().startsWith(QStringLiteral("４"));
      if (!opened && (stage_ < 12 || ++stage_ < 12 + 20)) return;
      lines_ << QStringLiteral("step-title=") + title->text();
      QStringList words;
      for (auto* w : main->findChildren<QPlainTextEdit*>())
        if (w->objectName().startsWith(QStringLiteral("Text1(")) && w->isVisible())
          words << w->toPlainText();
      lines_ << QStringLiteral("words=") + words.join(QLatin1Char(','));
      auto* client = main->findChild<QWidget*>(QStringLiteral("Form1Client"));
      lines_ << QStringLiteral("window-enabled=%1").arg(int(client && client->isEnabled()));
      finish(QString());
    }
  }

  void finish(const QString& error) {
    poll_.stop();
    // Qt appends a display name to every title when one is set apart from
    // the application name.
    lines_ << QStringLiteral("display-name=") + QGuiApplication::applicationDisplayName();
    lines_ << QStringLiteral("application-name=") + QCoreApplication::applicationName();
    lines_
        << QStringLiteral("icon-sizes=%1").arg(QApplication::windowIcon().availableSizes().size());
    lines_ << QStringLiteral("desktop-file=") + QGuiApplication::desktopFileName();
    lines_ << QStringLiteral("error=") + error;
    QFile out(qEnvironmentVariable("PASTEL_DRIVER_OUT"));
    if (out.open(QIODevice::WriteOnly)) QTextStream(&out) << lines_.join(QLatin1Char('\n')) << '\n';
    out.close();
    QCoreApplication::exit(error.isEmpty() ? 0 : 1);
  }

  QTimer poll_;
  int stage_ = 0;
  QStringList lines_;
};

}  // namespace

class DriverPlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "driver.json")
 public:
  QObject* create(const QString&, const QString&) override { return new Driver; }
};

#include "driver_plugin.moc"
