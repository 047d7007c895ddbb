#pragma once
#include <QString>
#include <QStringList>

#include "platform/colour.h"
#include "platform/picture.h"

namespace pastel {

enum class ElementKind {
  Label,
  Button,
  PictureBox,
  Image,
  TextBox,
  HScroll,
  VScroll,
  CheckBox,
  KanaKey,
  ListBox,
  ComboBox,
  LineEdit,
};

// Frame of a label, image or text box.
enum FrameStyle : int { kNoFrame = 0, kThinFrame = 1, kRaisedFrame = 2, kEtchedFrame = 3 };

struct ScrollRange {
  int min = 0, max = 0, value = 0, smallChange = 1, largeChange = 1;
};

// One window element as plain values. Positions are twips in the window's
// client area, single precision as the poster files store them.
struct Element {
  QString name;  // system name, e.g. "Command12" or "Image3(4)"
  ElementKind kind = ElementKind::Label;
  bool visible = false;
  bool enabled = true;
  float left = 0, top = 0, width = 0, height = 0;
  QString caption;  // caption of a label or button, text of a text box
  ColourValue foreColor = kSysButtonText;
  ColourValue backColor = kSysButtonFace;
  int borderStyle = kNoFrame;
  float fontSize = 9;
  bool fontBold = false;
  bool centred = false;            // caption alignment
  bool verticalScrollBar = false;  // text boxes
  PictureRef picture;              // image elements: stretched to fill
  int layer = 5;       // back to front: snapshot, thumbnails, photos, words, paper, controls
  int z = 0;           // larger is in front within its layer
  ScrollRange scroll;  // scroll bars only
  int value = 0;       // check box only
  QStringList items;   // list and combo boxes: the entries shown
  int current = -1;    // list and combo boxes: the entry marked, -1 none
};

// A table row's geometry, twips.
struct Rect {
  float left, top, width, height;
};

// How a row of a window's table looks at start; shared by similar rows.
struct Look {
  float fontSize = 9;
  bool bold = false;
  ColourValue fore = kSysButtonText;
  ColourValue back = kSysButtonFace;
  bool centred = false;
  int layer = 5;
  int border = kNoFrame;
  ScrollRange scroll{};
  bool verticalScrollBar = false;
};

enum class Start { Hidden, Shown, ShownDisabled };

// Gives an element its table row's values.
void initElement(Element& e, const QString& name, ElementKind kind, const char* caption, Rect r,
                 const Look& look, Start start);

}  // namespace pastel
