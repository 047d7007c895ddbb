#pragma once

class QPagedPaintDevice;

namespace pastel {

enum class PrinterSetup { Accepted, Cancelled, Failed };

// The current printer: its setup dialog (printer, paper, copies) and the
// page device a document is drawn on. A document begins with a QPainter on
// device() and ends, sending the pages, when that painter ends.
class Printer {
 public:
  virtual ~Printer() = default;
  virtual PrinterSetup showSetupDialog() = 0;
  virtual QPagedPaintDevice* device() = 0;
  // Whether the document just ended failed to reach the printer or its
  // file. Asked once after each document, begun or not.
  virtual bool failed() { return false; }
};

}  // namespace pastel
