#include "settings/settings_window_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cmath>

#include "app/element_widgets_view.h"
#include "form/twips.h"
#include "platform/gothic_font.h"
#include "settings/settings_controller.h"

namespace pastel {

SettingsWindowView::SettingsWindowView(SettingsController& ctl, Runner run, Runner runWhenIdle)
    : QWidget(nullptr, Qt::Window),
      ctl_(ctl),
      run_(std::move(run)),
      runWhenIdle_(std::move(runWhenIdle)) {
  setObjectName(QStringLiteral("frmList"));
  setWindowTitle(QStringLiteral("設定"));
  setFixedSize(twipsToPixels(SettingsForm::kClientWidth),
               twipsToPixels(SettingsForm::kClientHeight));
  binder_ = std::make_unique<FormBinder>(this, run_);
  form_.forEach([this](Element& e) { binder_->add(e); });
  binder_->sync(nullptr);
  files_ = static_cast<QListWidget*>(binder_->widgetFor(form_.file1));
  drives_ = static_cast<QComboBox*>(binder_->widgetFor(form_.drive1));
  folders_ = static_cast<QListWidget*>(binder_->widgetFor(form_.dir1));
  for (int k = 0; k < 10; ++k) {
    words_[k] = static_cast<QLineEdit*>(binder_->widgetFor(form_.text11[size_t(k)]));
    connect(words_[k], &QLineEdit::textEdited, this, [this, k](const QString& t) {
      if (!syncing_) ctl_.editWordField(k, t);
    });
  }
  binder_->on(form_.command12).click = [this] { ctl_.confirm(); };

  // A choice reaches only the dialog it was made in: one confirmed or closed
  // meanwhile is not brought back.
  connect(drives_, &QComboBox::activated, this, [this](int index) {
    const QString drive = drives_->itemText(index);
    run_([this, drive] {
      if (ctl_.isOpen()) ctl_.chooseDrive(drive);
    });
  });
  connect(folders_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const QString path = item->data(Qt::UserRole).toString();
    // The list is rebuilt by the change: not from inside its own signal.
    QTimer::singleShot(0, this, [this, path] {
      runWhenIdle_([this, path] {
        if (ctl_.isOpen()) ctl_.chooseFolder(path);
      });
    });
  });
  sync();
}

SettingsWindowView::~SettingsWindowView() { binder_->detach(); }

void SettingsWindowView::centreOnScreen() {
  const QScreen* s = screen();
  if (!s) return;
  const QRect avail = s->geometry();
  const QSize outer = frameGeometry().size();
  move(avail.x() + (avail.width() - outer.width()) / 2,
       avail.y() + (avail.height() - outer.height()) / 2);
}

void SettingsWindowView::sync() {
  const SettingsDialog* d = ctl_.dialog();
  if (!d) return;
  syncing_ = true;
  for (int k = 0; k < 10; ++k)
    if (words_[k]->text() != d->wordFields[k]) words_[k]->setText(d->wordFields[k]);

  QStringList drives;
  for (int i = 0; i < drives_->count(); ++i) drives << drives_->itemText(i);
  QStringList wanted = d->drives;
  if (!d->drive.isEmpty() && !wanted.contains(d->drive)) wanted << d->drive;
  if (drives != wanted) {
    drives_->blockSignals(true);
    drives_->clear();
    drives_->addItems(wanted);
    drives_->blockSignals(false);
  }
  drives_->blockSignals(true);
  drives_->setCurrentIndex(int(wanted.indexOf(d->drive)));
  drives_->blockSignals(false);

  syncFolders(*d);
  QStringList shown;
  for (int i = 0; i < files_->count(); ++i) shown << files_->item(i)->text();
  if (shown != d->fileList) {
    files_->clear();
    files_->addItems(d->fileList);
  }
  syncing_ = false;
}

void SettingsWindowView::syncFolders(const SettingsDialog& dlg) {
  // The path from the root down, then the folders below it.
  const SettingsDialog* d = &dlg;
  QStringList texts, paths;
  QStringList chain;
  for (QString at = d->dirPath; !at.isEmpty();) {
    chain.prepend(at);
    const QString up = QFileInfo(at).path();
    if (up == at || at == QLatin1String("/")) break;
    at = up;
  }
  int depth = 0;
  for (const QString& at : chain) {
    const QString name = at == QLatin1String("/") ? at : QFileInfo(at).fileName();
    texts << QString(depth * 2, QLatin1Char(' ')) + name;
    paths << at;
    ++depth;
  }
  const QString base = d->dirPath.endsWith(QLatin1Char('/')) ? d->dirPath : d->dirPath + "/";
  for (const QString& sub : d->subfolders) {
    texts << QString(depth * 2, QLatin1Char(' ')) + sub;
    paths << base + sub;
  }

  if (paths == folderPaths_) return;
  folderPaths_ = paths;
  folders_->clear();
  for (int i = 0; i < texts.size(); ++i) {
    auto* item = new QListWidgetItem(texts[i], folders_);
    item->setData(Qt::UserRole, paths[i]);
    if (paths[i] == d->dirPath) folders_->setCurrentItem(item);
  }
}

void SettingsWindowView::closeEvent(QCloseEvent* e) {
  // Closed from its frame: nothing is handed over. The sync hides it.
  e->ignore();
  runWhenIdle_([this] { ctl_.closedByFrame(); });
}

}  // namespace pastel
