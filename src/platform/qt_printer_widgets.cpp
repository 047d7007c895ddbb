#include "platform/qt_printer_widgets.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QTemporaryFile>

#include "platform/file_io.h"

namespace pastel {

QtPrinter::QtPrinter(QWidget* parent) : parent_(parent) {}

namespace {

// A new printer with the choices the dialog makes.
std::unique_ptr<QPrinter> withSameChoices(const QPrinter& old) {
  auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
  p->setPrinterName(old.printerName());
  p->setOutputFormat(old.outputFormat());
  p->setOutputFileName(old.outputFileName());
  p->setOutputFormat(old.outputFormat());  // a name's suffix may have changed it
  p->setPageLayout(old.pageLayout());
  p->setFullPage(old.fullPage());
  p->setCopyCount(old.copyCount());
  p->setCollateCopies(old.collateCopies());
  p->setColorMode(old.colorMode());
  p->setDuplex(old.duplex());
  p->setPageOrder(old.pageOrder());
  p->setPaperSource(old.paperSource());
  return p;
}

}  // namespace

QPrinter& QtPrinter::printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  } else if (renew_) {
    // After a write failed, Qt's engine writes nothing more, to a file or
    // the print system: the next document goes to a new printer.
    printer_ = withSameChoices(*printer_);
  }
  renew_ = false;
  return *printer_;
}

PrinterSetup QtPrinter::showSetupDialog() {
  if (beforeDialog) beforeDialog();
  QPrintDialog dlg(&printer(), parent_);
  // The setup form: printer, paper and copies; no page ranges to choose.
  dlg.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  const int r = dlg.exec();
  if (r != QDialog::Accepted) return PrinterSetup::Cancelled;
  if (!printer_->isValid()) return PrinterSetup::Failed;
  return PrinterSetup::Accepted;
}

namespace {

// A whole PDF ends with its end-of-file mark.
bool wholePdf(const QString& name) {
  QFile file(name);
  if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  const qint64 size = file.size();
  return size >= 64 && file.seek(size - 64) && file.read(64).trimmed().endsWith("%%EOF");
}

}  // namespace

QPagedPaintDevice* QtPrinter::device() {
  QPrinter& p = printer();
  target_ = p.outputFileName();
  partial_.clear();
  // Only a plain file or a new name is replaced: a device or a link is
  // written where it is, as chosen.
  struct stat st {};
  const bool there = ::lstat(nativePath(target_).constData(), &st) == 0;
  if (target_.isEmpty() || (there && !S_ISREG(st.st_mode))) return &p;
  const QFileInfo info(target_);
  QTemporaryFile partial(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                         QStringLiteral(".XXXXXX"));
  partial.setAutoRemove(false);
  if (!partial.open()) return &p;  // the folder takes no new file: the print will say so
  partial_ = partial.fileName();
  partial.close();
  const QPrinter::OutputFormat format = p.outputFormat();
  p.setOutputFileName(partial_);
  p.setOutputFormat(format);
  return &p;
}

namespace {

// The whole new file, synced, takes the chosen file's place with its
// permissions (a new one's are the usual ones), and the folder is synced.
bool putInPlace(const QString& partial, const QString& target) {
  const QByteArray from = nativePath(partial), to = nativePath(target);
  struct stat st {};
  const mode_t mode = ::stat(to.constData(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  const int fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool synced = ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !synced) return false;
  if (::rename(from.constData(), to.constData()) != 0) return false;
  syncFolder(QFileInfo(target).absolutePath());
  return true;
}

}  // namespace

bool QtPrinter::failed() {
  if (!printer_) return false;
  // A file is read back; the print system says nothing back at all.
  const QString name = printer_->outputFileName();
  bool failed = printer_->printerState() == QPrinter::Error || (!name.isEmpty() && !wholePdf(name));
  if (!partial_.isEmpty()) {
    if (!failed) failed = !putInPlace(partial_, target_);
    if (failed) QFile::remove(partial_);
    const QPrinter::OutputFormat format = printer_->outputFormat();
    printer_->setOutputFileName(target_);  // the next dialog shows the name chosen
    printer_->setOutputFormat(format);
    partial_.clear();
  }
  renew_ = renew_ || failed;
  return failed;
}

}  // namespace pastel
