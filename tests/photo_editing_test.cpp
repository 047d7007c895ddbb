#include "canvas/photo_editing.h"

#include <gtest/gtest.h>

#include "canvas/picture_strip.h"
#include "canvas_fixture.h"

namespace pastel {
namespace {

using test::CanvasFixture;

// Floats a photo over thumbnail 0 (cell 11040, 2280, picture 1785 x 1340)
// holding it at (300, 200) and presses it.
int floatAndPress(CanvasFixture& fx) {
  const int k = floatPhotoSlot(fx.poster, 0, 300, 200);
  pressPhoto(fx.poster, k);
  return k;
}

// Moves slot k so that its left edge lands at `left` (one mouse step).
void dragLeftTo(Poster& p, int k, float left) {
  const float x = p.grabOffsetX + (left - p.form.image3[k].left);
  movePhoto(p, k, true, x, p.grabOffsetY);
}

TEST(PhotoEditing, EntersThePaperEnlargedOnceAndLeavesItHidden) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  loadPictureStrip(p, CanvasFixture::names(3));
  const int k = floatAndPress(fx);
  ASSERT_EQ(k, 0);
  const Element& e = p.form.image3[0];
  EXPECT_EQ(e.borderStyle, 1);
  EXPECT_EQ(p.selectedKind, SelectedKind::Photo);

  dragLeftTo(p, 0, 9300);
  EXPECT_FLOAT_EQ(e.width, 1785);
  EXPECT_EQ(p.photoEnlarged[0], 0);
  dragLeftTo(p, 0, 9299);
  EXPECT_FLOAT_EQ(e.left, 9299);
  EXPECT_FLOAT_EQ(e.top, 2280);
  EXPECT_FLOAT_EQ(e.width, 3998.4f);
  EXPECT_FLOAT_EQ(e.height, 3001.6f);
  EXPECT_EQ(p.photoEnlarged[0], 1);
  EXPECT_EQ(p.selectedIndex, 0);
  // Further on the paper it does not grow again.
  dragLeftTo(p, 0, 5000);
  EXPECT_FLOAT_EQ(e.width, 3998.4f);
  releasePhoto(p, 0);
  EXPECT_TRUE(e.visible);
  EXPECT_TRUE(isPlaced(e));

  // Back to the strip: released at 9300 it leaves the poster.
  dragLeftTo(p, 0, 9300);
  EXPECT_EQ(p.photoEnlarged[0], 0);
  releasePhoto(p, 0);
  EXPECT_FALSE(e.visible);
  EXPECT_EQ(firstFreePhotoSlot(p), 0);

  // Too big to grow on the way in, but it counts as grown.
  dragLeftTo(p, 0, 8000);
  EXPECT_FLOAT_EQ(e.width, 3998.4f);
  EXPECT_EQ(p.photoEnlarged[0], 1);

  // No button held: nothing moves.
  movePhoto(p, 0, false, 0, 0);
  EXPECT_FLOAT_EQ(e.left, 8000);
}

TEST(PhotoEditing, DragStaysWithinTheWindowAndSixteenBits) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  fx.place(3, 500, 0);
  p.grabOffsetX = 100;
  p.grabOffsetY = 100;
  Element& e = p.form.image3[3];
  e.width = 1785;
  e.height = 1340;
  movePhoto(p, 3, true, 100, 40);  // up from Top 0 is refused
  EXPECT_FLOAT_EQ(e.top, 0);
  movePhoto(p, 3, true, 40, 100);
  EXPECT_FLOAT_EQ(e.left, 440);
  // One step may carry it past the right edge; then no further.
  e.left = p.form.width - e.width - 10;
  movePhoto(p, 3, true, 600, 100);
  EXPECT_FLOAT_EQ(e.left, p.form.width - e.width + 490);
  movePhoto(p, 3, true, 600, 100);
  EXPECT_FLOAT_EQ(e.left, p.form.width - e.width + 490);
  // A step past 32767 twips is refused as a whole.
  e.left = 9000;
  e.top = 1000;
  movePhoto(p, 3, true, 30000, 200);
  EXPECT_FLOAT_EQ(e.left, 9000);
  EXPECT_FLOAT_EQ(e.top, 1000);
}

TEST(PhotoEditing, PressBringsToTopAndMovesTheFrame) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  for (int k = 0; k < 10; ++k) fx.place(k);
  p.form.text1[4].borderStyle = 1;
  p.form.image3[10].visible = true;
  for (int k : {3, 7, 3}) pressPhoto(p, k);
  const std::vector<int> order(p.photoStackOrder.begin(), p.photoStackOrder.begin() + 10);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 4, 5, 6, 8, 9, 7, 3}));
  for (int k = 0; k < 10; ++k) EXPECT_EQ(p.form.image3[k].borderStyle, k == 3 ? 1 : 0) << k;
  EXPECT_EQ(p.form.text1[4].borderStyle, 0);
  EXPECT_FALSE(p.form.image3[10].visible);
  EXPECT_GT(p.form.image3[3].z, p.form.image3[7].z);
}

TEST(PhotoEditing, EleventhPhotoIsRefusedWithAMessage) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  loadPictureStrip(p, CanvasFixture::names(12));
  for (int k = 0; k < 10; ++k) fx.place(k);
  pressPhoto(p, 5);
  const auto orderBefore = p.photoStackOrder;
  EXPECT_EQ(floatAndPress(fx), 10);
  ASSERT_EQ(fx.dialogs.messages.size(), 1u);
  const MessageBoxText& m = fx.dialogs.messages[0];
  EXPECT_EQ(m.text, "がぞうは１０まいまでにしてください");
  EXPECT_EQ(m.title, "入力エラー");
  EXPECT_EQ(m.icon, MsgIcon::Exclamation);
  EXPECT_EQ(m.buttons, MsgButtons::Ok);
  EXPECT_EQ(p.photoStackOrder, orderBefore);
  EXPECT_EQ(p.form.image3[5].borderStyle, 1);
  EXPECT_TRUE(p.form.image3[10].visible);
  // It cannot be dragged onto the paper.
  dragLeftTo(p, 10, 5000);
  EXPECT_FALSE(isPlaced(p.form.image3[10]));

  // Another slot freed: still the message, the next hover floats it.
  p.form.image3[4].left = 9500;
  p.form.image3[4].visible = false;
  EXPECT_EQ(pressPhoto(p, 10), PhotoPress::TooManyPhotos);
  EXPECT_EQ(fx.dialogs.messages.size(), 2u);
  EXPECT_EQ(floatPhotoSlot(p, 1, 0, 0), 4);

  // Slot 0 freed while the OverflowSlot floats: it simply goes away.
  fx.place(4);
  ASSERT_EQ(floatPhotoSlot(p, 1, 0, 0), 10);
  p.form.image3[0].left = 9500;
  EXPECT_EQ(pressPhoto(p, 10), PhotoPress::OverflowWithdrawn);
  EXPECT_EQ(fx.dialogs.messages.size(), 2u);
  EXPECT_FALSE(p.form.image3[10].visible);
  EXPECT_EQ(floatPhotoSlot(p, 1, 0, 0), 0);
}

TEST(PhotoEditing, SizeButtonsScaleTheSelectedPhotoFromWholeTwips) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  loadPictureStrip(p, CanvasFixture::names(3));
  const int k = floatAndPress(fx);
  dragLeftTo(p, k, 9300);  // selects it without growing
  Element& e = p.form.image3[size_t(k)];
  for (int n = 0; n < 3; ++n) makePhotoBigger(p);
  // 1785 -> 1963.5 -> (1964) 2160.4 -> (2160) 2376; 1340 -> 1474 -> 1621.4 -> (1621) 1783.1
  EXPECT_FLOAT_EQ(e.width, 2376);
  EXPECT_FLOAT_EQ(e.height, 1783.1f);
  EXPECT_FLOAT_EQ(e.left, 9300);

  e.width = 1785;
  e.height = 1340;
  makePhotoBigger(p);
  makePhotoSmaller(p);
  EXPECT_FLOAT_EQ(e.width, 1767.6f);  // 1964 x 0.9, not 1785 again

  // The next size past 16 bits is refused; smaller still works.
  e.width = 30000;
  e.height = 20000;
  makePhotoBigger(p);
  EXPECT_FLOAT_EQ(e.width, 30000);
  EXPECT_FLOAT_EQ(e.height, 20000);
  makePhotoSmaller(p);
  EXPECT_FLOAT_EQ(e.width, 27000);

  // A word selected, or no selection since a clear: nothing happens.
  p.selectedKind = SelectedKind::Word;
  makePhotoSmaller(p);
  EXPECT_FLOAT_EQ(e.width, 27000);
  p.selectedKind = SelectedKind::Photo;
  p.selectionActive = 0;
  makePhotoBigger(p);
  EXPECT_FLOAT_EQ(e.width, 27000);
}

}  // namespace
}  // namespace pastel
