#include "app/main_window_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>

#include "steps/startup.h"

namespace pastel {

MainWindowView::MainWindowView(Poster& poster, QtEventLoop& loop) : poster_(poster), loop_(loop) {
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
  onTriggered(itemEnd_, [this] { askToEnd(); });

  binder_ = std::make_unique<FormBinder>(central_, loop_);
  MainForm& f = poster_.form;
  f.forEach([&](Element& e) { binder_->add(e, &e == &f.picture2 ? &f.surface2 : &f.paper); });
  sync();
  setWindowTitle(poster_.form.caption);
}

ElementEvents& MainWindowView::on(const Element& e) { return binder_->on(e); }

QWidget* MainWindowView::widgetFor(const Element& e) const { return binder_->widgetFor(e); }

void MainWindowView::onTriggered(QAction* item, std::function<void()> handler) {
  connect(item, &QAction::triggered, this, [this, handler = std::move(handler)] { run(handler); });
}

QByteArray MainWindowView::inputTargets() const {
  return poster_.form.label5.caption.toUtf8() + '|' + binder_->inputTargets();
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
  // Not input: asked once no handler runs, and only once.
  e->ignore();
  if (closeAsked_) return;
  closeAsked_ = true;
  loop_.whenIdle([this] {
    closeAsked_ = false;
    askToEnd();
  });
}

bool MainWindowView::askToEnd() {
  const bool yes = confirmEnd(poster_);
  if (yes && onEnded) onEnded();
  return yes;
}

}  // namespace pastel
