#pragma once
#include <QImage>
#include <QPoint>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "form/form_table.h"
#include "form/kana_pad_form.h"
#include "form/slots.h"
#include "platform/twips.h"

class QPainter;

namespace pastel {

// Layout constants the handlers share.
constexpr float kPlacementBoundary = 9300;
constexpr float kParkedPhotoLeft = 9500;
constexpr float kParkedPhotoWidth = 1785;
constexpr float kParkedPhotoHeight = 1340;
constexpr float kWordColumnLeft = 11040;
constexpr float kParkedWordWidth = 3855;
constexpr float kParkedWordHeight = 345;
constexpr float kParkedWordFontSize = 14;
inline float wordHomeTop(int i) { return 2520 + 720.0f * i; }
inline float wordColumnTop(int i) { return 2640 + 720.0f * i; }

// The fixed paper rectangle (Picture1, Image2 and Picture2 lie on it): twips,
// and the pixels a grab covers.
constexpr float kPaperLeft = 240, kPaperTop = 2760, kPaperWidth = 10605, kPaperHeight = 7485;
constexpr int kPaperPxLeft = twipsToPixels(kPaperLeft), kPaperPxTop = twipsToPixels(kPaperTop);
constexpr int kPaperPxWidth = twipsToPixels(kPaperWidth);
constexpr int kPaperPxHeight = twipsToPixels(kPaperHeight);

// A dot (from == to) or a band between two dot centres, in the surface's
// pixels, radius r: 2r + 1 pixels across.
struct PaperMark {
  QPoint from, to;
  int radius = 0;
  ColourValue colour = 0;
};
// Draws a mark on a painter whose unit is one surface pixel: aliased as the
// surface's own pixels have it, or smooth at a finer resolution.
void paintMark(QPainter& p, const PaperMark& m, bool smooth);

// The marks drawn on a surface since its colour or picture was last set, in
// order, so its lines can be drawn again at any resolution. Copies share
// them; appending past another copy's end copies first. Unknown (a paper
// read back from pixels alone) means only the pixels tell the lines. Read
// on the UI thread only.
class PaperMarks {
 public:
  static PaperMarks none() {
    PaperMarks m;
    m.known_ = true;
    return m;
  }
  bool known() const { return known_; }
  size_t size() const { return count_; }
  const PaperMark& operator[](size_t i) const { return (*all_)[i]; }
  // The same run of marks as another copy's first size() ones.
  bool sameRunAs(const PaperMarks& o) const { return all_ == o.all_; }
  void append(const PaperMark& m);

 private:
  std::shared_ptr<std::vector<PaperMark>> all_;
  size_t count_ = 0;
  bool known_ = false;
};

// The paper's drawing surface: a persistent image of 707 x 499 pixels made
// of a background colour, an optional background picture and the dots drawn
// on it, with the dots also kept as marks. Setting the colour or the picture
// repaints the whole surface, which erases the dots, as a picture box does.
class PaperSurface {
 public:
  static constexpr int kWidthPx = kPaperPxWidth;
  static constexpr int kHeightPx = kPaperPxHeight;

  PaperSurface();
  ColourValue backColor() const { return backColor_; }
  const PictureRef& backPicture() const { return backPicture_; }
  const QImage& image() const { return image_; }
  const PaperMarks& marks() const { return marks_; }
  int revision() const { return revision_; }

  void setBackColor(ColourValue c);
  void setBackPicture(PictureRef p);  // null removes it
  // A filled circle in the given colour, centre and radius in pixels.
  void paintDot(int x, int y, int radius, ColourValue colour);
  // A band as wide as such a circle, with round ends, between two centres.
  void paintSegment(QPoint from, QPoint to, int radius, ColourValue colour);
  // Colour, picture, what the surface shows and its marks, as taken before;
  // a null image shows the colour and picture alone.
  void restore(ColourValue c, PictureRef p, const QImage& shown, const PaperMarks& marks);

 private:
  void repaint();
  void paint(const PaperMark& m);
  ColourValue backColor_ = kSysWindowBackground;
  PictureRef backPicture_;
  QImage image_;
  PaperMarks marks_;
  int revision_ = 0;
};

// Looks shared by rows of the main window's table.
namespace look {
inline const Look kBanner = [] {
  Look l;
  l.fontSize = 26, l.bold = true, l.fore = rgb(0x00, 0x80, 0x00), l.back = rgb(0xc0, 0xff, 0xc0);
  l.centred = true;
  return l;
}();
inline const Look kStepTitle = [] {
  Look l;
  l.fontSize = 16, l.bold = true, l.fore = rgb(0x80, 0x00, 0x00), l.back = rgb(0xe0, 0xe0, 0xe0);
  return l;
}();
inline const Look kWarning = [] {
  Look l;
  l.fontSize = 11, l.bold = true, l.fore = rgb(0xff, 0x00, 0x00), l.back = rgb(0xe0, 0xe0, 0xe0);
  return l;
}();
inline const Look kBigButton = [] {
  Look l;
  l.fontSize = 20, l.bold = true;
  return l;
}();
inline const Look kMidButton = [] {
  Look l;
  l.fontSize = 16, l.bold = true;
  return l;
}();
// The line colour is kept in this button's back colour.
inline const Look kLineColourButton = [] {
  Look l = kBigButton;
  l.back = kWhite;
  return l;
}();
inline const Look kPaper = [] {
  Look l;
  l.back = kSysWindowBackground, l.layer = 4;
  return l;
}();
inline Look imageOnLayer(int layer) {
  Look l;
  l.fore = kSysWindowText, l.back = rgb(0xe0, 0xe0, 0xe0), l.layer = layer;
  return l;
}
// Words lie in front of every photo, photos in front of thumbnails, all of
// them in front of the snapshot and behind the live paper.
inline const Look kSnapshot = imageOnLayer(0);
inline const Look kThumbnail = imageOnLayer(1);
inline const Look kPhoto = imageOnLayer(2);
inline const Look kWord = [] {
  Look l;
  l.fontSize = 14.25f, l.fore = kBlack, l.back = kWhite, l.layer = 3;
  return l;
}();
inline const Look kBrushBar = [] {
  Look l;
  l.scroll = ScrollRange{1, 30, 5, 1, 5};
  return l;
}();
inline const Look kStripBar = [] {
  Look l;
  l.scroll = ScrollRange{0, 0, 0, 5, 10};
  return l;
}();
}  // namespace look

// Geometry of the control arrays' rows, element i.
constexpr float kThumbnailWidth = 1785, kThumbnailHeight = 1340;
inline Rect thumbnailCell(int i) {
  return {i % 2 == 0 ? 11040.0f : 13080.0f, 2280 + 1560.0f * float(i / 2), kThumbnailWidth,
          kThumbnailHeight};
}
inline Rect photoSlotStart(int i) { return {11040 + 120.0f * float(i), 0, 1785, 1335}; }
inline Rect wordSlotStart(int i) { return {kWordColumnLeft, wordColumnTop(i), 3855, 345}; }

// The main window's table (see form/form_table.h for the columns). The
// form's members, its iteration and the view's widgets all follow from it,
// so adding an element is adding a row. Rows sharing a place are
// alternatives shown in different steps.
#define PASTEL_MAIN_FORM_TABLE(X, ARRAY)                                                           \
  X(label3, "Label3", Label, "パステルボード", 240, 300, 5175, 675, look::kBanner, Shown)          \
  X(label5, "Label5", Label, "１．かみのいろを きめます", 6960, 480, 4695, 495, look::kStepTitle,  \
    Shown)                                                                                         \
  X(label2, "Label2", Label, "ここで もどると しゃしんや もじが きえます", 10680, 1560, 4335, 375, \
    look::kWarning, Hidden)                                                                        \
  X(command5, "Command5", Button, "もどる", 11040, 360, 1815, 1095, look::kBigButton,              \
    ShownDisabled)                                                                                 \
  X(command15, "Command15", Button, "もどる", 11040, 360, 1815, 1095, look::kBigButton, Hidden)    \
  X(command16, "Command16", Button, "もどる", 11040, 360, 1815, 1095, look::kBigButton, Hidden)    \
  X(command11, "Command11", Button, "つぎへ", 13080, 360, 1815, 1095, look::kBigButton, Shown)     \
  X(command6, "Command6", Button, "つぎへ", 13080, 360, 1815, 1095, look::kBigButton, Hidden)      \
  X(command4, "Command4", Button, "つぎへ", 13080, 360, 1815, 1095, look::kBigButton, Hidden)      \
  X(command3, "Command3", Button, "おわり", 1080, 1800, 1815, 735, look::kBigButton, Shown)        \
  X(command19, "Command19", Button, "クリア", 3240, 1800, 1695, 735, look::kBigButton, Shown)      \
  X(command10, "Command10", Button, "クリア", 3240, 1800, 1695, 735, look::kBigButton, Hidden)     \
  X(command9, "Command9", Button, "クリア", 3240, 1800, 1695, 735, look::kBigButton, Hidden)       \
  X(command1, "Command1", Button, "ちいさく", 5280, 1800, 1935, 735, look::kBigButton, Hidden)     \
  X(command2, "Command2", Button, "おおきく", 7560, 1800, 1935, 735, look::kBigButton, Hidden)     \
  X(command12, "Command12", Button, "かみのいろ", 11400, 2880, 3135, 1695, look::kBigButton,       \
    Shown)                                                                                         \
  X(command20, "Command20", Button, "ほぞん", 11400, 2880, 3135, 1695, look::kBigButton, Hidden)   \
  X(command13, "Command13", Button, "せんのいろ", 11400, 5040, 3135, 975, look::kLineColourButton, \
    Shown)                                                                                         \
  X(command22, "Command22", Button, "おおきく いんさつ", 11400, 6060, 3135, 1215,                  \
    look::kMidButton, Hidden)                                                                      \
  X(command14, "Command14", Button, "いんさつ", 11400, 8760, 3135, 1215, look::kBigButton, Hidden) \
  X(command17, "Command17", Button, "もじいろ", 11040, 1680, 1815, 735, look::kMidButton, Hidden)  \
  X(command18, "Command18", Button, "わくいろ", 13080, 1680, 1815, 735, look::kMidButton, Hidden)  \
  X(command21, "Command21", Button, "もじ の へんしゅう", 11040, 9720, 3855, 735,                  \
    look::kMidButton, Hidden)                                                                      \
  X(image2, "Image2", Image, "", kPaperLeft, kPaperTop, kPaperWidth, kPaperHeight,                 \
    look::kSnapshot, Shown)                                                                        \
  X(picture1, "Picture1", PictureBox, "", kPaperLeft, kPaperTop, kPaperWidth, kPaperHeight,        \
    look::kPaper, Hidden)                                                                          \
  X(picture2, "Picture2", PictureBox, "", kPaperLeft, kPaperTop, kPaperWidth, kPaperHeight,        \
    look::kPaper, Hidden)                                                                          \
  X(hscroll1, "HScroll1", HScroll, "", 11400, 6360, 3135, 495, look::kBrushBar, Hidden)            \
  X(vscroll1, "VScroll1", VScroll, "", 14880, 2280, 255, 7575, look::kStripBar, Hidden)            \
  ARRAY(image1, "Image1(%1)", 0, kStripCells, Image, thumbnailCell, look::kThumbnail, Hidden)      \
  ARRAY(image3, "Image3(%1)", 0, kSlots + 1, Image, photoSlotStart, look::kPhoto, Hidden)          \
  ARRAY(text1, "Text1(%1)", 0, kSlots, TextBox, wordSlotStart, look::kWord, Hidden)                \
  X(text3, "Text3", TextBox, "", 240, 3120, 8775, 1575, look::kWordEditor, Hidden)                 \
  X(check1, "Check1", CheckBox, "", 9000, 2880, 255, 180, look::kNextKeyOption, Hidden)            \
  X(label4, "Label4", Label, "［次へ］ボタンを表示", 9240, 2880, 1575, 255, look::kNextKeyOption,  \
    Hidden)                                                                                        \
  ARRAY(label1, "Label1(%1)", 0, kKanaKeyCount, KanaKey, kanaKeyCell, look::kKanaKey, Hidden)

// Every element of the main window, with its start geometry and caption.
// image2 is empty until the first grab, behind the paper; the paper and the
// brush bar are shown by start-up itself.
struct MainForm {
  MainForm();

  // Outer size and position of the window, twips.
  static constexpr float kOuterWidth = 15240, kOuterHeight = 11520;
  float left = 0, top = 0, width = kOuterWidth, height = kOuterHeight;
  static constexpr float kClientWidth = 15120;
  static constexpr float kClientHeight = 10650;
  QString caption;

  PASTEL_FORM_MEMBERS(PASTEL_MAIN_FORM_TABLE)

  PaperSurface paper;     // what Picture1 shows; its colour is the paper's colour
  PaperSurface surface2;  // what Picture2 shows

  int zCounter = 0;
  void bringToFront(Element& e) { e.z = ++zCounter; }

  // The colour an element shows behind its caption: the paper and the
  // paper-colour button show the paper's own colour.
  ColourValue shownBackColor(const Element& e) const;

  // Every element once, in table order (the view builds one widget each).
  template <class F>
  void forEach(F&& f){
      PASTEL_FORM_FOR_EACH(PASTEL_MAIN_FORM_TABLE)} Element* find(const QString& name);
};

}  // namespace pastel

namespace pastel {
// StepTitle captions: the step is never stored, it is read from these.
inline const QString kStep1Title = QStringLiteral("１．かみのいろを きめます");
inline const QString kStep2Title = QStringLiteral("２．がぞうを　はります");
inline const QString kStep3Title = QStringLiteral("３．もじを　はります");
inline const QString kStep4Title = QStringLiteral("４．ほぞんします");
inline const QString kStep4OpenedTitle = QStringLiteral("４．しあげ／ほぞんします");
}  // namespace pastel
