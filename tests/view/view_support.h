#pragma once
#include <QApplication>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/pastel_app_view.h"
#include "platform/qt_printer_widgets.h"
#include "support/stand_ins.h"

namespace pastel::test {

// The real main window after start-up, with scripted dialogs and a desktop
// that does not end the process.
// `adjust` changes the options before the start.
struct ViewFixture {
  explicit ViewFixture(PictureLoader* pictures = nullptr,
                       const std::function<void(PastelApp::Options&)>& adjust = {}) {
    PastelApp::Options o;
    o.pictures = pictures;
    o.dialogs = &dialogs;
    o.desktop = &desktop;
    o.executableFolder = dir.path();
    o.openSettings = false;
    if (adjust) adjust(o);
    app = std::make_unique<PastelApp>(o);
    app->start();
  }
  template <class W = QWidget>
  W* widget(const QString& name) {
    return app->window().findChild<W*>(name);
  }
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FixedDesktop desktop;
  std::unique_ptr<PastelApp> app;
};

// The paper rectangle as the window's widgets show it, drawn at `dpr` device
// pixels per pixel.
inline QImage shownPaper(MainWindowView& w, qreal dpr = 1) {
  w.sync();
  QWidget* area = w.paperArea();
  QImage img((QSizeF(area->size()) * dpr).toSize(), QImage::Format_RGB32);
  img.setDevicePixelRatio(dpr);
  area->render(&img);
  img.setDevicePixelRatio(1);
  const QRect paper(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx, PaperSurface::kHeightPx);
  return img.copy(QRect(paper.topLeft() * dpr, paper.size() * dpr));
}

inline QWidget* topLevel(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == name) return w;
  return nullptr;
}

// The window of that name while it is shown, else null.
inline QWidget* shownTopLevel(const QString& name) {
  QWidget* w = topLevel(name);
  return w && w->isVisible() ? w : nullptr;
}

// The desktop's printer set to a PDF file, its dialog answered OK at once.
class FilePrinter : public QtPrinter {
 public:
  explicit FilePrinter(const QString& path) {
    printer().setOutputFormat(QPrinter::PdfFormat);
    printer().setOutputFileName(path);
  }
  PrinterSetup showSetupDialog() override { return PrinterSetup::Accepted; }
};

}  // namespace pastel::test
