#include "canvas/poster.h"

namespace pastel {

void Poster::setStartValues() {
  paperColourCode = QStringLiteral("#ffffff");
  forEachKind([&](auto k) { static_cast<typename decltype(k)::State&>(*this).setStartValues(); });
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
  forEachKind([&](auto k) {
    for (int j = 0; j < kSlots; ++j) (p.form.*decltype(k)::kSlotsOf)[size_t(j)].borderStyle = 0;
  });
}

void parkWord(Poster& p, int i, WordPark where) {
  WordKind::park(p.form.text1[size_t(i)], i, where);
}

void parkPhoto(Poster& p, int i, bool toParkingLeft) {
  PhotoKind::park(p.form.image3[size_t(i)], i, toParkingLeft ? Park::Home : Park::Here);
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
