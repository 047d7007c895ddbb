#include "form/main_form.h"

#include <QPainter>

namespace pastel {

namespace {

QImage solid(ColourValue c) {
  QImage img(PaperSurface::kWidthPx, PaperSurface::kHeightPx, QImage::Format_RGB32);
  const ColourValue r = resolveColour(c);
  img.fill(QColor(redOf(r), greenOf(r), blueOf(r)));
  return img;
}

void init(Element& e, const char* name, ElementKind kind, float l, float t, float w, float h,
          const char* caption = "") {
  e.name = QString::fromUtf8(name);
  e.kind = kind;
  e.left = l;
  e.top = t;
  e.width = w;
  e.height = h;
  e.caption = QString::fromUtf8(caption);
  if (kind == ElementKind::Label || kind == ElementKind::Image) {
    e.backColor = rgb(0xe0, 0xe0, 0xe0);
    e.foreColor = kSysWindowText;
  }
}

void bigButton(Element& e, const char* name, float l, float t, float w, float h,
               const char* caption, float size) {
  init(e, name, ElementKind::Button, l, t, w, h, caption);
  e.fontSize = size;
  e.fontBold = true;
}

}  // namespace

PaperSurface::PaperSurface() : image_(solid(backColor_)) {}

void PaperSurface::repaint() {
  image_ = solid(backColor_);
  if (backPicture_ && !backPicture_->image.isNull()) {
    // A picture box shows its picture at natural size from the top left.
    QPainter p(&image_);
    p.drawImage(0, 0, backPicture_->image);
  }
  ++revision_;
}

void PaperSurface::setBackColor(ColourValue c) {
  backColor_ = c;
  repaint();
}

void PaperSurface::setBackPicture(PictureRef pic) {
  backPicture_ = std::move(pic);
  repaint();
}

void PaperSurface::paintDot(int x, int y, int radius, ColourValue colour) {
  const ColourValue r = resolveColour(colour);
  const QColor c(redOf(r), greenOf(r), blueOf(r));
  QPainter p(&image_);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(c);
  p.setBrush(c);
  p.drawEllipse(QPoint(x, y), radius, radius);
  ++revision_;
}

MainForm::MainForm() : caption(QStringLiteral("パステルボード")) {
  using K = ElementKind;
  init(label3, "Label3", K::Label, 240, 300, 5175, 675, "パステルボード");
  label3.foreColor = rgb(0x00, 0x80, 0x00);
  label3.backColor = rgb(0xc0, 0xff, 0xc0);
  label3.fontSize = 26;
  label3.fontBold = true;
  label3.visible = true;
  label3.centred = true;
  init(label5, "Label5", K::Label, 6960, 480, 4695, 495, "１．かみのいろを きめます");
  label5.foreColor = rgb(0x80, 0x00, 0x00);
  label5.fontSize = 16;
  label5.fontBold = true;
  label5.visible = true;
  init(label2, "Label2", K::Label, 10680, 1560, 4335, 375, "ここで もどると しゃしんや もじが きえます");
  label2.foreColor = rgb(0xff, 0x00, 0x00);
  label2.fontSize = 11;
  label2.fontBold = true;

  const float big = 20, mid = 16;
  bigButton(command5, "Command5", 11040, 360, 1815, 1095, "もどる", big);
  bigButton(command15, "Command15", 11040, 360, 1815, 1095, "もどる", big);
  bigButton(command16, "Command16", 11040, 360, 1815, 1095, "もどる", big);
  bigButton(command11, "Command11", 13080, 360, 1815, 1095, "つぎへ", big);
  bigButton(command6, "Command6", 13080, 360, 1815, 1095, "つぎへ", big);
  bigButton(command4, "Command4", 13080, 360, 1815, 1095, "つぎへ", big);
  bigButton(command3, "Command3", 1080, 1800, 1815, 735, "おわり", big);
  bigButton(command19, "Command19", 3240, 1800, 1695, 735, "クリア", big);
  bigButton(command10, "Command10", 3240, 1800, 1695, 735, "クリア", big);
  bigButton(command9, "Command9", 3240, 1800, 1695, 735, "クリア", big);
  bigButton(command1, "Command1", 5280, 1800, 1935, 735, "ちいさく", big);
  bigButton(command2, "Command2", 7560, 1800, 1935, 735, "おおきく", big);
  bigButton(command12, "Command12", 11400, 2880, 3135, 1695, "かみのいろ", big);
  bigButton(command20, "Command20", 11400, 2880, 3135, 1695, "ほぞん", big);
  bigButton(command13, "Command13", 11400, 5040, 3135, 975, "せんのいろ", big);
  command13.backColor = kWhite;  // the line colour is kept here
  bigButton(command14, "Command14", 11400, 8760, 3135, 1215, "いんさつ", big);
  bigButton(command17, "Command17", 11040, 1680, 1815, 735, "もじいろ", mid);
  bigButton(command18, "Command18", 13080, 1680, 1815, 735, "わくいろ", mid);
  bigButton(command21, "Command21", 11040, 9720, 3855, 735, "もじ の へんしゅう", mid);

  // Design-time state of step 1; the paper and the brush bar are shown by
  // start-up itself.
  for (Element* e : {&command3, &command5, &command11, &command12, &command13, &command19})
    e->visible = true;
  command5.enabled = false;

  init(picture1, "Picture1", K::PictureBox, kPaperLeft, kPaperTop, kPaperWidth, kPaperHeight);
  picture1.backColor = kSysWindowBackground;
  init(image2, "Image2", K::Image, kPaperLeft, kPaperTop, kPaperWidth, kPaperHeight);
  image2.visible = true;  // empty until the first grab, behind the paper
  init(picture2, "Picture2", K::PictureBox, kPaperLeft, kPaperTop, kPaperWidth, kPaperHeight);
  picture2.backColor = kSysWindowBackground;

  init(hscroll1, "HScroll1", K::HScroll, 11400, 6360, 3135, 495);
  hscroll1.scroll = ScrollRange{1, 30, 5, 1, 5};
  init(vscroll1, "VScroll1", K::VScroll, 14880, 2280, 255, 7575);
  vscroll1.scroll = ScrollRange{0, 0, 0, 5, 10};

  for (int i = 0; i < 10; ++i) {
    init(image1[i], "", K::Image, i % 2 == 0 ? 11040 : 13080, 2280 + 1560.0f * (i / 2), 1785,
         1340);
    image1[i].name = QStringLiteral("Image1(%1)").arg(i);
  }
  for (int i = 0; i < 11; ++i) {
    init(image3[i], "", K::Image, 11040 + 120.0f * i, 0, 1785, 1335);
    image3[i].name = QStringLiteral("Image3(%1)").arg(i);
  }
  for (int i = 0; i < 10; ++i) {
    init(text1[i], "", K::TextBox, kWordColumnLeft, wordColumnTop(i), kParkedWordWidth,
         kParkedWordHeight);
    text1[i].name = QStringLiteral("Text1(%1)").arg(i);
    text1[i].fontSize = 14.25f;
    text1[i].foreColor = kBlack;
    text1[i].backColor = kWhite;
  }
  // Words lie in front of every photo, photos in front of thumbnails.
  image2.layer = 0;
  picture1.layer = picture2.layer = 4;
  int z = 0;
  for (auto& e : image1) e.layer = 1, e.z = ++z;
  for (auto& e : image3) e.layer = 2, e.z = ++z;
  for (auto& e : text1) e.layer = 3, e.z = ++z;
  zCounter = z;
}

void MainForm::forEach(const std::function<void(Element&)>& f) {
  for (Element* e : {&label3, &label5, &label2, &command5, &command15, &command16, &command11,
                     &command6, &command4, &command3, &command19, &command10, &command9,
                     &command1, &command2, &command12, &command20, &command13, &command14,
                     &command17, &command18, &command21, &image2, &picture1, &picture2,
                     &hscroll1, &vscroll1})
    f(*e);
  for (auto& e : image1) f(e);
  for (auto& e : image3) f(e);
  for (auto& e : text1) f(e);
}

Element* MainForm::find(const QString& name) {
  Element* hit = nullptr;
  forEach([&](Element& e) {
    if (e.name == name) hit = &e;
  });
  return hit;
}

}  // namespace pastel
