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

#include "form/twips.h"
#include "platform/gothic_font.h"
#include "settings/settings_controller.h"

namespace pastel {

namespace {

QRect px(float l, float t, float w, float h) {
  return QRect(twipsToPixels(l), twipsToPixels(t), twipsToPixels(w), twipsToPixels(h));
}

template <typename W>
W* place(QWidget* parent, const char* name, QRect geometry) {
  auto* w = new W(parent);
  w->setObjectName(QString::fromUtf8(name));
  w->setGeometry(geometry);
  return w;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QRect g, float size) {
  auto* l = place<QLabel>(parent, name, g);
  l->setText(QString::fromUtf8(text));
  l->setFont(gothicFont(size, false));
  return l;
}

}  // namespace

SettingsWindowView::SettingsWindowView(SettingsController& ctl, std::function<void()> afterEach)
    : QWidget(nullptr, Qt::Window), ctl_(ctl), afterEach_(std::move(afterEach)) {
  setObjectName(QStringLiteral("frmList"));
  setWindowTitle(QStringLiteral("設定"));
  setFixedSize(px(0, 0, 8415, 5295).size());

  QLabel* title = label(this, "Label3", "画像と文字の設定", px(-240, 120, 3855, 375), 18);
  title->setAlignment(Qt::AlignCenter);
  label(this, "Label4", "画像ファイル", px(360, 600, 1695, 255), 9);
  label(this, "Label1", "文字", px(4800, 600, 615, 255), 9);

  files_ = place<QListWidget>(this, "File1", px(480, 960, 2055, 3510));
  drives_ = place<QComboBox>(this, "Drive1", px(2640, 960, 1935, 300));
  folders_ = place<QListWidget>(this, "Dir1", px(2640, 1440, 1935, 3030));
  for (int k = 0; k < 10; ++k) {
    const QByteArray name = "Text" + QByteArray::number(11 + k);
    words_[k] = place<QLineEdit>(this, name.constData(), px(4920, 960 + 360.0f * k, 3200, 270));
    words_[k]->setFont(gothicFont(9, false));
    connect(words_[k], &QLineEdit::textEdited, this, [this, k](const QString& t) {
      if (!syncing_) ctl_.editWordField(k, t);
    });
  }
  confirm_ = place<QPushButton>(this, "Command12", px(5760, 4600, 2295, 615));
  confirm_->setText(QStringLiteral("これでよし"));

  connect(drives_, &QComboBox::activated, this, [this](int index) {
    const QString drive = drives_->itemText(index);
    act([this, drive] { ctl_.chooseDrive(drive); });
  });
  connect(folders_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const QString path = item->data(Qt::UserRole).toString();
    // The list is rebuilt by the change: not from inside its own signal.
    QTimer::singleShot(0, this, [this, path] { act([this, path] { ctl_.chooseFolder(path); }); });
  });
  connect(confirm_, &QPushButton::clicked, this, [this] { act([this] { ctl_.confirm(); }); });
  sync();
}

void SettingsWindowView::act(const std::function<void()>& f) {
  f();
  if (afterEach_) afterEach_();
}

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
  // Closed from its frame: nothing is handed over.
  e->accept();
  act([this] { ctl_.closedByFrame(); });
}

}  // namespace pastel
