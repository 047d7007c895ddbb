#include "app/main_window_view.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPicture>
#include <QScreen>

#include "steps/startup.h"

namespace pastel {

MainWindowView::MainWindowView(Poster& poster) : poster_(poster) {
  setObjectName(QStringLiteral("Form1"));
  build();
}

MainWindowView::~MainWindowView() {
  // Closing the window moves the focus between its text boxes while they
  // are torn down: no handler may run on a half-destroyed view.
  binder_->detach();
  delete central_;
  central_ = nullptr;
}

void MainWindowView::build() {
  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("Form1Client"));
  central_->setFixedSize(twipsToPixels(MainForm::kClientWidth),
                         twipsToPixels(MainForm::kClientHeight));
  central_->setAutoFillBackground(true);
  QPalette pal = central_->palette();
  pal.setColor(QPalette::Window, QColor(0xe0, 0xe0, 0xe0));
  central_->setPalette(pal);
  setCentralWidget(central_);

  itemOpen_ = menuBar()->addAction(QStringLiteral("開く(&O)"));
  itemOpen_->setObjectName(QStringLiteral("Itemopen"));
  itemSetDir_ = menuBar()->addAction(QStringLiteral("設定(&D)"));
  itemSetDir_->setObjectName(QStringLiteral("ItemSetDir"));
  itemGazo_ = menuBar()->addAction(QStringLiteral("画像で保存(&G)"));
  itemGazo_->setObjectName(QStringLiteral("Itemgazo"));
  itemEnd_ = menuBar()->addAction(QStringLiteral("終了(&Q)"));
  itemEnd_->setObjectName(QStringLiteral("itemend"));
  connect(itemEnd_, &QAction::triggered, this, [this] { run([this] { askToEnd(); }); });

  binder_ =
      std::make_unique<FormBinder>(central_, [this](const std::function<void()>& h) { run(h); });
  MainForm& f = poster_.form;
  f.forEach([&](Element& e) { binder_->add(e, &e == &f.picture2 ? &f.surface2 : &f.paper); });
  sync();
  setWindowTitle(poster_.form.caption);
}

ElementEvents& MainWindowView::on(const Element& e) { return binder_->on(e); }

QWidget* MainWindowView::widgetFor(const Element& e) const { return binder_->widgetFor(e); }

void MainWindowView::run(const std::function<void()>& handler) {
  if (loop_) {
    loop_->runHandler(handler);
    return;
  }
  handler();
  sync();
}

void MainWindowView::runWhenIdle(const std::function<void()>& handler) {
  if (loop_)
    loop_->whenIdle(handler);
  else
    run(handler);
}

void MainWindowView::sync() {
  const MainForm& f = poster_.form;
  binder_->sync([&f](const Element& e) { return f.shownBackColor(e); });
  if (windowTitle() != f.caption) setWindowTitle(f.caption);
  if (!poster_.focusRequest.isEmpty()) {
    Element* e = poster_.form.find(poster_.focusRequest);
    poster_.focusRequest.clear();
    if (QWidget* w = e ? widgetFor(*e) : nullptr; w && w->isVisible()) w->setFocus();
  }
  for (const auto& other : others_) other();
}

QImage MainWindowView::renderPaper() {
  sync();
  const QRect r(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx, PaperSurface::kHeightPx);
  // One pixel per logical pixel whatever the screen's scale: the files keep
  // 707 x 499 and are the same when the window is drawn smaller.
  QImage img(r.size(), QImage::Format_RGB32);
  img.setDevicePixelRatio(1);
  img.fill(central_->palette().window().color());
  central_->render(&img, QPoint(), QRegion(r),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
  return img;
}

void MainWindowView::drawPaper(QPainter& painter, const QRectF& target) {
  sync();
  const QRect r(kPaperPxLeft, kPaperPxTop, PaperSurface::kWidthPx, PaperSurface::kHeightPx);
  const QPaintDevice* device = painter.device();
  painter.save();
  painter.setClipRect(target);
  painter.translate(target.topLeft());
  painter.scale(target.width() / r.width(), target.height() / r.height());
  painter.translate(-r.topLeft());  // the window's own pixels from here
  painter.fillRect(r, central_->palette().window());
  // Back to front, as the widgets are stacked.
  for (QObject* child : central_->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (!w || !w->isVisibleTo(central_) || !w->geometry().intersects(r)) continue;
    painter.save();
    painter.translate(w->pos());
    if (auto* image = dynamic_cast<ImageWidget*>(w)) {
      // Photos straight from their decoded pixels, as many as the page
      // shows, at most four times the screen's.
      const QSize onPage = painter.deviceTransform().mapRect(QRectF(w->rect())).size().toSize();
      image->paintSharp(painter, (w->size() * 4).boundedTo(onPage + QSize(1, 1)));
    } else if (auto* surface = dynamic_cast<SurfaceWidget*>(w)) {
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawImage(w->rect(), surface->surface().image());
    } else {
      // Drawn straight onto a printer, Qt would rasterise a widget at the
      // printer's full resolution; recorded first, text stays text.
      QPicture recorded;
      QPainter recorder(&recorded);
      w->render(&recorder, QPoint(), QRegion(),
                QWidget::DrawWindowBackground | QWidget::DrawChildren);
      recorder.end();
      // A picture replays scaled by the device's resolution against its own.
      painter.scale(double(recorded.logicalDpiX()) / device->logicalDpiX(),
                    double(recorded.logicalDpiY()) / device->logicalDpiY());
      painter.drawPicture(0, 0, recorded);
    }
    painter.restore();
  }
  painter.restore();
}

void MainWindowView::closeEvent(QCloseEvent* e) {
  // Closing the frame asks like "おわり": a slip must not lose the poster.
  e->ignore();
  if (loop_ && loop_->handlerRunning()) {
    // Asked once the running handler has returned, and only once.
    if (!closeAsked_)
      loop_->whenIdle([this] {
        closeAsked_ = false;
        confirmEnd(poster_);
      });
    closeAsked_ = true;
    return;
  }
  bool yes = false;
  run([&] {
    yes = confirmEnd(poster_);
    if (yes && onEnded) onEnded();
  });
  if (yes) e->accept();
}

void MainWindowView::askToEnd() {
  if (confirmEnd(poster_) && onEnded) onEnded();
}

}  // namespace pastel
