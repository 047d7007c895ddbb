#pragma once
#include <QHash>
#include <QIdentityProxyModel>
#include <QImage>
#include <QSet>
#include <QThreadPool>
#include <atomic>

#include "platform/dialogs.h"

class QFileDialog;

namespace pastel {

// Puts a file dialog's files in an icon view and shows each file as the
// picture `picture` makes of it. The pictures are made on worker threads,
// only for the files the view shows, and appear as each is ready; until
// then, and for a file that has none, the file's plain icon shows.
class PictureIcons : public QIdentityProxyModel {
 public:
  static constexpr int kIconWidth = 128;  // a child tells posters apart at this size

  PictureIcons(FilePicture picture, QObject* parent = nullptr);
  // Waits for the pictures being made: the function they call may not
  // outlive the dialog's call.
  ~PictureIcons() override;

  // Sets the dialog up to show its files through this model.
  void showIn(QFileDialog& dialog);
  QVariant data(const QModelIndex& index, int role) const override;
  // How many pictures have been made (tests and measurements).
  int made() const { return int(made_.size()); }

 private:
  void ask(const QString& path) const;
  void arrived(const QString& path, const QImage& picture);

  FilePicture picture_;
  mutable QThreadPool pool_;
  mutable QSet<QString> asked_;
  QHash<QString, QIcon> made_;  // a null icon: the file has no picture
  std::atomic<bool> closing_{false};
};

}  // namespace pastel
