#include "platform/qt_printer_widgets.h"

#include <QPrintDialog>

namespace pastel {

QtPrinter::QtPrinter(QWidget* parent) : parent_(parent), printer_(QPrinter::HighResolution) {}

PrinterSetup QtPrinter::showSetupDialog() {
  if (beforeDialog) beforeDialog();
  QPrintDialog dlg(&printer_, parent_);
  // The setup form: printer, paper and copies; no page ranges to choose.
  dlg.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  const int r = dlg.exec();
  if (r != QDialog::Accepted) return PrinterSetup::Cancelled;
  if (!printer_.isValid()) return PrinterSetup::Failed;
  return PrinterSetup::Accepted;
}

}  // namespace pastel
