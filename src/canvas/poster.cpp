#include "canvas/poster.h"

namespace pastel {

void Poster::setStartValues() {
  paperColourCode = QStringLiteral("#ffffff");
  for (int i = 0; i < kSlots; ++i) {
    photoStackOrder[i] = std::int16_t(i);
    wordStackOrder[i] = std::int16_t(i);
    wordFrameColourCodes[i] = QStringLiteral("#ffffff");
    wordTextColourCodes[i] = QStringLiteral("#000000");
  }
  selectionActive = 0;
  penDown = 0;
  wordEditMode = QStringLiteral("3");
}

int firstFreePhotoSlot(const Poster& p) {
  for (int k = 0; k < kSlots; ++k)
    if (!isPlaced(p.form.image3[k])) return k;
  return 10;
}

void clearFrames(Poster& p) {
  for (int j = 0; j < kSlots; ++j) {
    p.form.image3[j].borderStyle = 0;
    p.form.text1[j].borderStyle = 0;
  }
}

void parkWord(Poster& p, int i, WordPark where) {
  Element& e = p.form.text1[size_t(i)];
  e.height = kParkedWordHeight;
  e.width = kParkedWordWidth;
  e.fontSize = kParkedWordFontSize;
  if (where == WordPark::Here) return;
  e.left = kWordColumnLeft;
  e.top = where == WordPark::Column ? wordColumnTop(i) : wordHomeTop(i);
}

void parkPhoto(Poster& p, int i, bool toParkingLeft) {
  Element& e = p.form.image3[size_t(i)];
  e.height = kParkedPhotoHeight;
  e.width = kParkedPhotoWidth;
  if (toParkingLeft) e.left = kParkedPhotoLeft;
}

void moveToTopOfStack(std::array<std::int16_t, 21>& order, std::int16_t i) {
  int pos = 0;
  for (int k = 0; k < kSlots; ++k)
    if (order[k] == i) pos = k;
  for (int k = pos; k < kSlots - 1; ++k) order[k] = order[k + 1];
  order[kSlots - 1] = i;
}

void bringPhotoToTop(Poster& p, int i) {
  moveToTopOfStack(p.photoStackOrder, std::int16_t(i));
  p.form.bringToFront(p.form.image3[i]);
}

void bringWordToTop(Poster& p, int i) {
  moveToTopOfStack(p.wordStackOrder, std::int16_t(i));
  p.form.bringToFront(p.form.text1[i]);
}

int currentStep(const Poster& p) {
  const QString& t = p.form.label5.caption;
  if (t == kStep2Title) return 2;
  if (t == kStep3Title) return 3;
  if (t == kStep4Title || t == kStep4OpenedTitle) return 4;
  return 1;
}

QString appFolderFrom(const QString& folder) {
  QString f = folder;
  while (f.size() > 1 && f.endsWith(QLatin1Char('/'))) f.chop(1);
  if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
  return f;
}

QString appFolderPath(Poster& p) {
  if (p.appFolder.isEmpty()) p.appFolder = appFolderFrom(p.svc.executableFolder);
  return p.appFolder;
}

void yieldToEvents(Poster& p) {
  if (p.svc.loop) p.svc.loop->yield();
}

}  // namespace pastel
