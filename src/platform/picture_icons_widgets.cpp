#include "platform/picture_icons_widgets.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QIcon>
#include <QListView>
#include <QPixmap>

namespace pastel {

PictureIcons::PictureIcons(FilePicture picture, QObject* parent)
    : QIdentityProxyModel(parent), picture_(std::move(picture)) {
  // Two cores are shared with the dialog itself.
  pool_.setMaxThreadCount(2);
}

PictureIcons::~PictureIcons() {
  closing_ = true;
  pool_.clear();
  pool_.waitForDone();
}

void PictureIcons::showIn(QFileDialog& dialog) {
  dialog.setProxyModel(this);
  dialog.setViewMode(QFileDialog::List);
  if (auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"))) {
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(kIconWidth, kIconWidth * 3 / 4));
    list->setGridSize(QSize(kIconWidth + 32, kIconWidth * 3 / 4 + 48));
    list->setWordWrap(true);
    list->setResizeMode(QListView::Adjust);
    list->setMovement(QListView::Static);
    list->setUniformItemSizes(true);
  }
  dialog.resize(dialog.size().expandedTo(QSize(820, 560)));
}

QVariant PictureIcons::data(const QModelIndex& index, int role) const {
  if (role != Qt::DecorationRole || index.column() != 0 || !picture_)
    return QIdentityProxyModel::data(index, role);
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  const QModelIndex source = mapToSource(index);
  if (!files || files->isDir(source)) return QIdentityProxyModel::data(index, role);
  const QString path = files->filePath(source);
  const auto it = made_.constFind(path);
  if (it != made_.constEnd() && !it->isNull()) return *it;
  if (it == made_.constEnd()) ask(path);
  return QIdentityProxyModel::data(index, role);
}

void PictureIcons::ask(const QString& path) const {
  if (asked_.contains(path)) return;
  asked_.insert(path);
  auto* self = const_cast<PictureIcons*>(this);
  pool_.start([self, path] {
    if (self->closing_) return;
    const QImage picture = self->picture_(path);
    // Delivered on the dialog's thread; the destructor waits for this job,
    // and a destroyed model's events are dropped with it.
    QMetaObject::invokeMethod(
        self, [self, path, picture] { self->arrived(path, picture); }, Qt::QueuedConnection);
  });
}

void PictureIcons::arrived(const QString& path, const QImage& picture) {
  made_.insert(path, picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture)));
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (!files || picture.isNull()) return;
  const QModelIndex index = mapFromSource(files->index(path));
  if (index.isValid()) emit dataChanged(index, index, {Qt::DecorationRole});
}

}  // namespace pastel
