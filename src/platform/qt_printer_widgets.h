#pragma once
#include <QPrinter>
#include <functional>

#include "platform/printer.h"

class QWidget;

namespace pastel {

// The desktop's printer through CUPS; where no printer exists the dialog
// offers a PDF file. The choice is kept for the next print.
class QtPrinter : public Printer {
 public:
  explicit QtPrinter(QWidget* parent = nullptr);
  void setParent(QWidget* parent) { parent_ = parent; }
  std::function<void()> beforeDialog;  // the view's sync, so the dialog sits over the grab

  PrinterSetup showSetupDialog() override;
  QPagedPaintDevice* device() override { return &printer_; }
  bool failed() const override { return printer_.printerState() == QPrinter::Error; }
  QPrinter& printer() { return printer_; }

 private:
  QWidget* parent_;
  QPrinter printer_;
};

}  // namespace pastel
