#pragma once
#include "form/form_table.h"
#include "form/slots.h"

namespace pastel {

namespace look {
inline const Look kSettingsTitle = [] {
  Look l;
  l.fontSize = 18, l.centred = true;
  return l;
}();
inline const Look kPlain{};
}  // namespace look

// WordField k (Text11 .. Text20), top to bottom.
inline Rect wordFieldCell(int k) { return {4920, 960 + 360.0f * float(k), 3200, 270}; }

// The settings window frmList (columns: form/form_table.h).
#define PASTEL_SETTINGS_TABLE(X, ARRAY)                                                      \
  X(label3, "Label3", Label, "画像と文字の設定", -240, 120, 3855, 375, look::kSettingsTitle, \
    Shown)                                                                                   \
  X(label4, "Label4", Label, "画像ファイル", 360, 600, 1695, 255, look::kPlain, Shown)       \
  X(label1, "Label1", Label, "文字", 4800, 600, 615, 255, look::kPlain, Shown)               \
  X(file1, "File1", ListBox, "", 480, 960, 2055, 3510, look::kPlain, Shown)                  \
  X(drive1, "Drive1", ComboBox, "", 2640, 960, 1935, 300, look::kPlain, Shown)               \
  X(dir1, "Dir1", ListBox, "", 2640, 1440, 1935, 3030, look::kPlain, Shown)                  \
  ARRAY(text11, "Text%1", 11, kSlots, LineEdit, wordFieldCell, look::kPlain, Shown)          \
  X(command12, "Command12", Button, "これでよし", 5760, 4600, 2295, 615, look::kPlain, Shown)

struct SettingsForm {
  SettingsForm() { PASTEL_FORM_INIT(PASTEL_SETTINGS_TABLE) }
  static constexpr float kClientWidth = 8415, kClientHeight = 5295;
  PASTEL_FORM_MEMBERS(PASTEL_SETTINGS_TABLE)

  template <class F>
  void forEach(F&& f) {
    PASTEL_FORM_FOR_EACH(PASTEL_SETTINGS_TABLE)
  }
};

}  // namespace pastel
