#include "platform/qt_printer_widgets.h"

#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>

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

bool QtPrinter::failed() {
  if (!printer_) return false;
  // A file is read back; the print system says nothing back at all.
  const QString name = printer_->outputFileName();
  const bool failed =
      printer_->printerState() == QPrinter::Error || (!name.isEmpty() && !wholePdf(name));
  renew_ = renew_ || failed;
  return failed;
}

}  // namespace pastel
