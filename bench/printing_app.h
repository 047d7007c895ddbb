#pragma once
#include <QPrinter>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "app/pastel_app_view.h"
#include "camera_photos.h"
#include "childs_poster.h"
#include "platform/qt_printer_widgets.h"
#include "support/stand_ins.h"

namespace pastel::bench {

using Clock = std::chrono::steady_clock;

// The desktop printer writing a PDF file; its dialog says OK at once (or
// cancels) and starts the clock there.
class OkPrinter : public Printer {
 public:
  explicit OkPrinter(const QString& path) {
    printer.printer().setOutputFormat(QPrinter::PdfFormat);
    printer.printer().setOutputFileName(path);
  }
  PrinterSetup showSetupDialog() override {
    ok = Clock::now();
    return cancel ? PrinterSetup::Cancelled : PrinterSetup::Accepted;
  }
  QPagedPaintDevice* device() override { return printer.device(); }
  bool failed() override { return printer.failed(); }
  QtPrinter printer;
  Clock::time_point ok;
  bool cancel = false;
};

// The real window in step 4 with the poster a child makes, printing to the
// PDF `name` in a fresh folder.
struct PrintingApp {
  explicit PrintingApp(const QString& name) : pdf(dir.filePath(name)), printer(pdf) {
    PastelApp::Options o;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.printer = &printer;
    o.executableFolder = dir.path();
    o.openSettings = false;
    app = std::make_unique<PastelApp>(o);
    const QStringList names = writeCameraPhotos(dir.path()).names;
    app->start();
    app->window().run([&] { makeChildsPoster(app->poster(), dir.path(), names); });
  }

  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  QString pdf;
  OkPrinter printer;
  std::unique_ptr<PastelApp> app;
};

}  // namespace pastel::bench
