#pragma once
#include <QString>

#include "platform/colour.h"
#include "platform/picture.h"

namespace pastel {

enum class ElementKind { Label, Button, PictureBox, Image, TextBox, HScroll, VScroll, CheckBox, KanaKey };

struct ScrollRange {
  int min = 0, max = 0, value = 0, smallChange = 1, largeChange = 1;
};

// One window element as plain values. Positions are twips in the window's
// client area, single precision as the poster files store them.
struct Element {
  QString name;      // system name, e.g. "Command12" or "Image3(4)"
  ElementKind kind = ElementKind::Label;
  bool visible = false;
  bool enabled = true;
  float left = 0, top = 0, width = 0, height = 0;
  QString caption;   // caption of a label or button, text of a text box
  ColourValue foreColor = kSysButtonText;
  ColourValue backColor = kSysButtonFace;
  int borderStyle = 0;  // 1: thin frame
  float fontSize = 9;
  bool fontBold = false;
  bool centred = false;  // caption alignment
  PictureRef picture;   // image elements: stretched to fill
  int layer = 5;        // back to front: snapshot, thumbnails, photos, words, paper, controls
  int z = 0;            // larger is in front within its layer
  ScrollRange scroll;   // scroll bars only
  int value = 0;        // check box only
};

}  // namespace pastel
