#include "app/main_window_view.h"

#include <QCloseEvent>
#include <QMenuBar>

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
