#pragma once
#include <QPrinter>
#include <functional>
#include <memory>

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
  // A document printed to a file goes to a new file beside it, which takes
  // the file's place once whole: a failed print leaves the old file as it was.
  QPagedPaintDevice* device() override;
  // Qt ends every document as a success, even one whose file took no byte
  // (a full disk): a file's end is read back to tell.
  bool failed() override;
  QPrinter& printer();

 private:
  QWidget* parent_;
  std::unique_ptr<QPrinter> printer_;  // made on first use: asking CUPS is not free
  bool renew_ = false;                 // the last document failed
  QString target_, partial_;           // the file chosen, and where it is written first
};

}  // namespace pastel
