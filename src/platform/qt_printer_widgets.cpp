#include "platform/qt_printer_widgets.h"

#include <QPrintDialog>

namespace pastel {

QtPrinter::QtPrinter(QWidget* parent) : parent_(parent) {}

QPrinter& QtPrinter::printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
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

}  // namespace pastel
