#pragma once
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

#include "app/palette.h"

class QLabel;

namespace pastel {

// The palette window Form2, a tool window over the main window.
class PaletteWindow : public QWidget {
 public:
  PaletteWindow(Palette& model, std::function<void(int)> onSwatch, std::function<void()> onOk);
  void sync();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  Palette& model_;
  std::array<QLabel*, 24> swatches_{};
  QPushButton* ok_ = nullptr;
  bool placed_ = false;
};

}  // namespace pastel
