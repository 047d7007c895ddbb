#include "app/wizard.h"

#include "canvas/poster.h"

namespace pastel {

namespace {

void show(std::initializer_list<Element*> es, bool visible) {
  for (Element* e : es) e->visible = visible;
}

void showThumbnails(Poster& p) {
  for (int i = 0; i < 10; ++i) p.form.image1[i].visible = i < p.thumbnailCount;
}

void parkPhotoSize(Element& e) {
  e.height = kParkedPhotoHeight;
  e.width = kParkedPhotoWidth;
}

void parkWordSize(Element& e) {
  e.height = kParkedWordHeight;
  e.width = kParkedWordWidth;
  e.fontSize = kParkedWordFontSize;
}

void parkWordInColumn(Element& e, int i) {
  parkWordSize(e);
  e.left = kWordColumnLeft;
  e.top = wordColumnTop(i);
}

void setPaperSnapshot(Poster& p) {
  if (!p.svc.capture) return;
  p.form.image2.picture = pictureFromImage(p.svc.capture->grabPaper());
  // A second, independent grab becomes the paper's own picture.
  p.form.paper.setBackPicture(pictureFromImage(p.svc.capture->grabPaper()));
}

}  // namespace

void nextFrom1(Poster& p) {
  MainForm& f = p.form;
  if (!f.command11.visible || !f.command11.enabled) return;
  f.label5.caption = kStep2Title;
  f.label2.visible = true;
  show({&f.command1, &f.command2}, true);
  f.command1.enabled = f.command2.enabled = f.command5.enabled = true;
  show({&f.command6, &f.command10}, true);
  show({&f.command11, &f.command12, &f.command13, &f.command19}, false);
  f.hscroll1.visible = false;
  f.vscroll1.visible = true;
  setPaperSnapshot(p);
  f.picture1.visible = false;
  yieldToEvents(p);
  showThumbnails(p);
}

void nextFrom2(Poster& p) {
  MainForm& f = p.form;
  if (!f.command6.visible || !f.command6.enabled) return;
  f.label5.caption = kStep3Title;
  f.label2.visible = false;
  for (int i = 0; i < 10; ++i) {
    f.image1[i].visible = false;
    if (!isPlaced(f.image3[i])) {
      f.image3[i].visible = false;
      parkPhotoSize(f.image3[i]);
    }
  }
  f.image3[10].visible = false;
  for (int i = 0; i < 10; ++i) {
    f.text1[i].visible = true;
    f.text1[i].borderStyle = 0;
    f.image3[i].borderStyle = 0;
  }
  show({&f.command1, &f.command2}, true);
  f.command1.enabled = f.command2.enabled = false;
  show({&f.command4, &f.command9, &f.command15, &f.command17, &f.command18, &f.command21}, true);
  show({&f.command5, &f.command6, &f.command10}, false);
  f.vscroll1.visible = false;
  yieldToEvents(p);
}

void nextFrom3(Poster& p) {
  MainForm& f = p.form;
  if (!f.command4.visible || !f.command4.enabled) return;
  for (int i = 0; i < 10; ++i) {
    f.text1[i].visible = true;
    f.text1[i].borderStyle = 0;
    f.image3[i].borderStyle = 0;
  }
  p.selectionActive = 0;
  f.label5.caption = kStep4Title;
  for (int i = 0; i < 10; ++i) {
    f.image1[i].visible = false;
    if (!isPlaced(f.image3[i])) {
      parkPhotoSize(f.image3[i]);
      f.image3[i].visible = false;
    }
    if (!isPlaced(f.text1[i])) {
      parkWordInColumn(f.text1[i], i);
      f.text1[i].visible = false;
    }
  }
  show({&f.command1, &f.command2, &f.command9, &f.command15, &f.command17, &f.command18,
        &f.command21},
       false);
  f.command4.enabled = false;
  show({&f.command14, &f.command16, &f.command20}, true);
  yieldToEvents(p);
}

void backFrom2(Poster& p) {
  MainForm& f = p.form;
  if (!f.command5.visible || !f.command5.enabled) return;
  f.label5.caption = kStep1Title;
  f.label2.visible = false;
  show({&f.command1, &f.command2}, false);
  f.command5.enabled = false;
  show({&f.command6, &f.command10}, false);
  show({&f.command11, &f.command12, &f.command13, &f.command19}, true);
  f.hscroll1.visible = true;
  f.vscroll1.visible = false;
  for (int i = 0; i < 10; ++i) {
    f.image1[i].visible = false;
    Element& photo = f.image3[i];
    photo.visible = false;
    parkPhotoSize(photo);
    photo.left = kParkedPhotoLeft;
    Element& word = f.text1[i];
    word.visible = false;
    parkWordSize(word);
    word.left = kWordColumnLeft;
    word.top = wordHomeTop(i);
  }
  yieldToEvents(p);
  p.selectionActive = 0;
  f.picture1.visible = true;
  yieldToEvents(p);
}

void backFrom3(Poster& p) {
  MainForm& f = p.form;
  if (!f.command15.visible || !f.command15.enabled) return;
  f.label5.caption = kStep2Title;
  f.label2.visible = true;
  for (int i = 0; i < 10; ++i) {
    f.text1[i].borderStyle = 0;
    f.image3[i].borderStyle = 0;
    if (!isPlaced(f.text1[i])) {
      f.text1[i].visible = false;
      parkWordSize(f.text1[i]);
    }
  }
  show({&f.command1, &f.command2}, true);
  f.command1.enabled = f.command2.enabled = true;
  show({&f.command4, &f.command9, &f.command11, &f.command12, &f.command13, &f.command15,
        &f.command17, &f.command18, &f.command19, &f.command21},
       false);
  show({&f.command5, &f.command6, &f.command10}, true);
  f.vscroll1.visible = true;
  if (p.selectedIndex >= 0 && p.selectedIndex < 10) f.text1[p.selectedIndex].borderStyle = 0;
  yieldToEvents(p);
  showThumbnails(p);
}

void backFrom4(Poster& p) {
  MainForm& f = p.form;
  if (!f.command16.visible || !f.command16.enabled) return;
  f.label5.caption = kStep3Title;
  for (int i = 0; i < 10; ++i) {
    f.text1[i].borderStyle = 0;
    f.image3[i].borderStyle = 0;
    f.image1[i].visible = false;
    if (isPlaced(f.image3[i])) f.image3[i].visible = true;
    if (!isPlaced(f.text1[i])) parkWordInColumn(f.text1[i], i);
    f.text1[i].visible = true;
  }
  if (p.selectedIndex >= 0 && p.selectedIndex < 10) f.text1[p.selectedIndex].borderStyle = 0;
  show({&f.command1, &f.command2}, true);
  f.command1.enabled = f.command2.enabled = false;
  f.command4.enabled = true;
  show({&f.command5, &f.command6, &f.command10, &f.command14, &f.command16, &f.command19,
        &f.command20},
       false);
  show({&f.command9, &f.command15, &f.command17, &f.command18, &f.command21}, true);
  yieldToEvents(p);
}

}  // namespace pastel
