#pragma once
#include "canvas/picture_strip.h"
#include "fake_picture_loader.h"
#include "test_support.h"

namespace pastel::test {

// A poster in the photo step (the strip's scroll bar showing) with a fake
// picture loader and the picture folder "/pics/".
struct CanvasFixture : PosterFixture {
  CanvasFixture() {
    poster.svc.pictures = &loader;
    poster.form.vscroll1.visible = true;
    poster.form.picture1.visible = false;
    poster.pictureFolderPath = QStringLiteral("/pics/");
  }
  // Twenty-three thumbnail-sized pictures p00 .. p22.
  static QStringList names(int n, const QString& size = QStringLiteral("1785x1340")) {
    QStringList l;
    for (int i = 0; i < n; ++i)
      l << QStringLiteral("p%1_%2.jpg").arg(i, 2, 10, QChar('0')).arg(size);
    return l;
  }
  // Puts PhotoSlot k on the paper as if it had been dragged there.
  void place(int k, float left = 600, float top = 3000) {
    Element& e = poster.form.image3[size_t(k)];
    e.left = left;
    e.top = top;
    e.visible = true;
    e.picture = loader.load(QStringLiteral("/pics/placed_1785x1340.jpg"), kPhotoMaxPixels);
    poster.photoFiles[size_t(k)] = QStringLiteral("/pics/placed_1785x1340.jpg");
    poster.photoEnlarged[size_t(k)] = 1;
  }
  FakePictureLoader loader;
};

}  // namespace pastel::test
