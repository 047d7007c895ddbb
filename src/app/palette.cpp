#include "app/palette.h"

#include "canvas/poster.h"

namespace pastel {

const std::array<Swatch, 24> kSwatches{{
    {rgb(0xff, 0xff, 0xff), "#ffffff"}, {rgb(0xff, 0xc0, 0xc0), "#ffc0c0"},
    {rgb(0xff, 0xe0, 0xc0), "#ffe0c0"}, {rgb(0xff, 0xff, 0xc0), "#ffffc0"},
    {rgb(0xc0, 0xff, 0xc0), "#b7ffc0"}, {rgb(0xc0, 0xff, 0xff), "#b7ffff"},
    {rgb(0xc0, 0xc0, 0xff), "#c0c0ff"}, {rgb(0xff, 0xc0, 0xff), "#ffc0fc"},
    {rgb(0xe0, 0xe0, 0xe0), "#dfdfdf"}, {rgb(0xff, 0x80, 0x80), "#ff8080"},
    {rgb(0xff, 0xc0, 0x80), "#ffc080"}, {rgb(0xff, 0xff, 0x80), "#ffff77"},
    {rgb(0x80, 0xff, 0x80), "#80ff80"}, {rgb(0x80, 0xff, 0xff), "#75fff9"},
    {rgb(0x80, 0x80, 0xff), "#8080ff"}, {rgb(0xff, 0x80, 0xff), "#ff80fa"},
    {rgb(0x00, 0x00, 0x00), "#000000"}, {rgb(0xff, 0x00, 0x00), "#ff0000"},
    {rgb(0xff, 0x80, 0x00), "#fd7e00"}, {rgb(0xff, 0xff, 0x00), "#ffff00"},
    {rgb(0x00, 0xff, 0x00), "#39fd00"}, {rgb(0x00, 0xff, 0xff), "#00fdf0"},
    {rgb(0x00, 0x00, 0xff), "#0000ff"}, {rgb(0xff, 0x00, 0xff), "#ff00ff"},
}};

Palette::Palette() {
  for (int k = 0; k < 24; ++k) {
    Element& e = label3[k];
    e.name = QStringLiteral("Label3(%1)").arg(k);
    e.kind = ElementKind::Label;
    e.visible = true;
    e.left = 120 + 480.0f * (k % 8);
    e.top = 120 + 480.0f * (k / 8);
    e.width = e.height = 495;
    e.backColor = kSwatches[k].shown;
  }
  command12.name = QStringLiteral("Command12");
  command12.kind = ElementKind::Button;
  command12.visible = true;
  command12.caption = QStringLiteral("OK");
  command12.left = 840;
  command12.top = 1680;
  command12.width = 2415;
  command12.height = 615;
  command12.backColor = kWhite;
  command12.fontSize = 16;
  command12.fontBold = true;
}

void openPalette(Poster& p, Palette& pal, PaletteTarget target) {
  pal.target = target;
  if (!pal.created) {
    pal.created = true;
    // Placed once; the palette's own size does not enter.
    if (p.svc.desktop) {
      pal.left = (p.svc.desktop->screenWidthTwips() - p.form.width) / 2 + 11000;
      pal.top = (p.svc.desktop->screenHeightTwips() - p.form.height) / 2 + 780;
    }
  }
  pal.visible = true;
}

void clickSwatch(Palette& pal, int k) {
  if (k < 0 || k >= 24) return;
  pal.command12.backColor = kSwatches[k].shown;
  pal.pickedCode = QString::fromLatin1(kSwatches[k].code);
}

void paletteOk(Poster& p, Palette& pal) {
  const ColourValue ok = pal.command12.backColor;
  const int sel = p.selectedIndex;
  switch (pal.target) {
    case PaletteTarget::Paper:
      p.paperColourCode = pal.pickedCode;
      p.form.command12.backColor = ok;
      // The plain new colour: the lines and any flattened picture go.
      p.form.paper.setBackPicture(nullptr);
      p.form.paper.setBackColor(ok);
      for (int i = 0; i < 10; ++i) {
        p.form.text1[i].backColor = ok;
        p.wordFrameColourCodes[i] = pal.pickedCode;
      }
      break;
    case PaletteTarget::Line:
      p.form.command13.backColor = ok;
      break;
    case PaletteTarget::WordFrame:
      if (sel >= 0 && sel < 10) {  // 10 is the OverflowSlot: no such word
        p.wordFrameColourCodes[sel] = pal.pickedCode;
        p.form.text1[sel].backColor = ok;
      }
      break;
    case PaletteTarget::WordText:
      if (sel >= 0 && sel < 10) {
        p.wordTextColourCodes[sel] = pal.pickedCode;
        p.form.text1[sel].foreColor = ok;
      }
      break;
    case PaletteTarget::None:
      break;
  }
  pal.visible = false;
}

namespace {
const char* codeOfShown(ColourValue c) {
  for (const Swatch& s : kSwatches)
    if (s.shown == c) return s.code;
  return nullptr;
}
}  // namespace

void textCodeOfColour(Poster& p, int k) {
  const char* code = codeOfShown(p.form.text1[k].foreColor);
  p.wordTextColourCodes[k] = QString::fromLatin1(code ? code : "#000000");
}

void frameCodeOfColour(Poster& p, int k) {
  const char* code = codeOfShown(p.form.text1[k].backColor);
  p.wordFrameColourCodes[k] = QString::fromLatin1(code ? code : "#ffffff");
}

}  // namespace pastel
