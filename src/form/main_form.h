#pragma once
#include <QImage>
#include <QString>
#include <array>
#include <functional>

#include "form/element.h"

namespace pastel {

// The paper's drawing surface: a persistent image of 707 x 499 pixels made
// of a background colour, an optional background picture and the dots drawn
// on it. Setting the colour or the picture repaints the whole surface, which
// erases the dots, as a picture box does.
class PaperSurface {
 public:
  static constexpr int kWidthPx = 707;
  static constexpr int kHeightPx = 499;

  PaperSurface();
  ColourValue backColor() const { return backColor_; }
  const PictureRef& backPicture() const { return backPicture_; }
  const QImage& image() const { return image_; }
  int revision() const { return revision_; }

  void setBackColor(ColourValue c);
  void setBackPicture(PictureRef p);  // null removes it
  // A filled circle in the given colour, centre and radius in pixels.
  void paintDot(int x, int y, int radius, ColourValue colour);

 private:
  void repaint();
  ColourValue backColor_ = kSysWindowBackground;
  PictureRef backPicture_;
  QImage image_;
  int revision_ = 0;
};

// Every element of the main window, with its start geometry and caption.
struct MainForm {
  MainForm();

  // Outer size and position of the window, twips.
  float left = 0, top = 0, width = 15240, height = 11520;
  static constexpr float kClientWidth = 15120;
  static constexpr float kClientHeight = 10650;
  QString caption;

  Element label3, label5, label2;                 // banner, StepTitle, BackWarning
  Element command1, command2, command3, command4, command5, command6, command9, command10,
      command11, command12, command13, command14, command15, command16, command17, command18,
      command19, command20, command21;
  Element picture1, image2, picture2;             // paper, PaperSnapshot, print surface
  Element hscroll1, vscroll1;
  std::array<Element, 10> image1;                 // thumbnails
  std::array<Element, 11> image3;                 // PhotoSlots, 10 is the OverflowSlot
  std::array<Element, 10> text1;                  // WordSlots
  std::array<QString, 133> text2;                 // hidden field buffers

  PaperSurface paper;    // what Picture1 shows
  PaperSurface surface2; // what Picture2 shows

  int zCounter = 0;
  void bringToFront(Element& e) { e.z = ++zCounter; }

  // Every element once, in layout order (the view builds one widget each).
  void forEach(const std::function<void(Element&)>& f);
  Element* find(const QString& name);
};

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

// The fixed paper rectangle: twips, and the pixels a grab covers.
constexpr float kPaperLeft = 240, kPaperTop = 2760, kPaperWidth = 10605, kPaperHeight = 7485;
constexpr int kPaperPxLeft = 16, kPaperPxTop = 184;

}  // namespace pastel

namespace pastel {
// StepTitle captions: the step is never stored, it is read from these.
inline const QString kStep1Title = QStringLiteral("１．かみのいろを きめます");
inline const QString kStep2Title = QStringLiteral("２．がぞうを　はります");
inline const QString kStep3Title = QStringLiteral("３．もじを　はります");
inline const QString kStep4Title = QStringLiteral("４．ほぞんします");
inline const QString kStep4OpenedTitle = QStringLiteral("４．しあげ／ほぞんします");
}  // namespace pastel
