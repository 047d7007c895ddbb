#include "steps/palette.h"

#include "canvas/poster.h"
#include "steps/startup.h"

namespace pastel {

void openPalette(Poster& p, PaletteTarget target) {
  PaletteForm& pal = p.palette;
  pal.target = target;
  if (!pal.created) {
    pal.created = true;
    // Placed once; the palette's own size does not enter.
    if (p.svc.desktop) {
      const QPointF at = centredPlace(*p.svc.desktop, p.form.width, p.form.height);
      pal.left = float(at.x()) + 11000;
      pal.top = float(at.y()) + 780;
    }
  }
  pal.visible = true;
}

void clickSwatch(Poster& p, int k) {
  PaletteForm& pal = p.palette;
  if (k < 0 || k >= 24) return;
  pal.picked = k;
}

void paletteOk(Poster& p) {
  PaletteForm& pal = p.palette;
  const ColourValue ok = pal.okColour();
  const QString code = pal.pickedCode();
  const int sel = p.selectedIndex;
  switch (pal.target) {
    case PaletteTarget::Paper:
      p.paperColourCode = code;
      // The plain new colour: the lines and any flattened picture go.
      p.form.paper.setBackPicture(nullptr);
      p.form.paper.setBackColor(ok);
      for (int i = 0; i < kSlots; ++i) {
        p.form.text1[i].backColor = ok;
        p.wordFrameColourCodes[i] = code;
      }
      break;
    case PaletteTarget::Line:
      p.form.command13.backColor = ok;
      break;
    case PaletteTarget::WordFrame:
      if (sel >= 0 && sel < kSlots) {  // 10 is the OverflowSlot: no such word
        p.wordFrameColourCodes[sel] = code;
        p.form.text1[sel].backColor = ok;
      }
      break;
    case PaletteTarget::WordText:
      if (sel >= 0 && sel < kSlots) {
        p.wordTextColourCodes[sel] = code;
        p.form.text1[sel].foreColor = ok;
      }
      break;
    case PaletteTarget::None:
      break;
  }
  pal.visible = false;
}

void closePalette(Poster& p) { p.palette.visible = false; }

void textCodeOfColour(Poster& p, int k) {
  p.wordTextColourCodes[size_t(k)] = swatchCodeOf(p.form.text1[size_t(k)].foreColor, "#000000");
}

void frameCodeOfColour(Poster& p, int k) {
  p.wordFrameColourCodes[size_t(k)] = swatchCodeOf(p.form.text1[size_t(k)].backColor, "#ffffff");
}

}  // namespace pastel
