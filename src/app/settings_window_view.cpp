#include "app/settings_window_view.h"

#include <QCloseEvent>
#include <QScreen>
#include <QTimer>

#include "app/element_widgets_view.h"
#include "platform/twips.h"
#include "settings/settings_controller.h"

namespace pastel {

SettingsWindowView::SettingsWindowView(SettingsController& ctl, QtEventLoop& loop)
    : QWidget(nullptr, Qt::Window), ctl_(ctl), loop_(loop) {
  setObjectName(QStringLiteral("frmList"));
  setWindowTitle(QStringLiteral("設定"));
  setFixedSize(twipsToPixels(SettingsForm::kClientWidth),
               twipsToPixels(SettingsForm::kClientHeight));
  binder_ = std::make_unique<FormBinder>(this, loop_);
  form_.forEach([this](Element& e) { binder_->add(e); });
  for (size_t k = 0; k < kSlots; ++k)
    binder_->on(form_.text11[k]).textChanged = [this, k] {
      ctl_.editWordField(int(k), form_.text11[k].caption);
    };
  binder_->on(form_.command12).click = [this] { ctl_.confirm(); };
  // A choice reaches only the dialog it was made in: one confirmed or closed
  // meanwhile is not brought back.
  binder_->on(form_.drive1).activated = [this](int index) {
    if (ctl_.isOpen() && index >= 0 && index < form_.drive1.items.size())
      ctl_.chooseDrive(form_.drive1.items[index]);
  };
  binder_->on(form_.dir1).activated = [this](int row) {
    const SettingsDialog* d = ctl_.dialog();
    const QString path = d ? folderOfRow(*d, row) : QString();
    if (path.isEmpty()) return;
    // The list is rebuilt by the change: not from inside its own signal.
    QTimer::singleShot(0, this, [this, path] {
      loop_.whenIdle([this, path] {
        if (ctl_.isOpen()) ctl_.chooseFolder(path);
      });
    });
  };
  sync();
}

SettingsWindowView::~SettingsWindowView() { binder_->detach(); }

void SettingsWindowView::centreOnScreen() {
  const QScreen* s = screen();
  if (!s) return;
  const QRect avail = s->geometry();
  const QSize outer = frameGeometry().size();
  move(avail.x() + (avail.width() - outer.width()) / 2,
       avail.y() + (avail.height() - outer.height()) / 2);
}

void SettingsWindowView::sync() {
  if (const SettingsDialog* d = ctl_.dialog()) showSettingsDialog(*d, form_);
  binder_->sync(nullptr);
}

void SettingsWindowView::closeEvent(QCloseEvent* e) {
  // Closed from its frame: nothing is handed over. The sync hides it.
  e->ignore();
  loop_.whenIdle([this] { ctl_.closedByFrame(); });
}

}  // namespace pastel
