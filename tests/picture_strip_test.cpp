#include "canvas/picture_strip.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "canvas_fixture.h"

namespace pastel {
namespace {

using test::CanvasFixture;

TEST(PictureStrip, FitsEachPictureIntoItsCellKeepingItsShape) {
  CanvasFixture fx;
  loadPictureStrip(fx.poster, {"wide_3000x1000.bmp", "tall_1000x3000.gif", "exact_1785x1340.jpg",
                               "needle_100x30000.bmp"});
  const auto& t = fx.poster.form.image1;
  EXPECT_FLOAT_EQ(t[0].width, 1785);
  EXPECT_FLOAT_EQ(t[0].height, 595);
  EXPECT_FLOAT_EQ(t[0].left, 11040);
  EXPECT_FLOAT_EQ(t[0].top, 2280 + 372.5f);

  EXPECT_FLOAT_EQ(t[1].height, 1340);
  EXPECT_NEAR(t[1].width, 446.67, 0.01);
  EXPECT_NEAR(t[1].left, 13080 + (1785 - 446.67) / 2, 0.01);
  EXPECT_FLOAT_EQ(t[1].top, 2280);

  EXPECT_FLOAT_EQ(t[2].left, 11040);
  EXPECT_FLOAT_EQ(t[2].top, 3840);
  EXPECT_FLOAT_EQ(t[2].width, 1785);
  EXPECT_FLOAT_EQ(t[2].height, 1340);

  // Far taller than 16 bits can hold once fitted to the cell's width.
  EXPECT_FLOAT_EQ(t[3].height, 1340);
  EXPECT_GT(t[3].width, 0);
  EXPECT_LT(t[3].width, 10);

  EXPECT_EQ(fx.poster.thumbnailCount, 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(t[i].visible) << i;
    ASSERT_TRUE(t[i].picture) << i;
  }
  EXPECT_EQ(t[0].picture->path, "/pics/wide_3000x1000.bmp");
  for (int i = 4; i < 10; ++i) EXPECT_FALSE(t[i].visible) << i;
  // Decoded at cell size, the event loop run as each one arrived.
  EXPECT_EQ(fx.loader.lastMaxPixels, QSize(119, 89));
  EXPECT_GE(fx.loop.yields, 4);
}

TEST(PictureStrip, StaysHiddenOutsideThePhotoStepButCounts) {
  CanvasFixture fx;
  fx.poster.form.vscroll1.visible = false;
  loadPictureStrip(fx.poster, CanvasFixture::names(5));
  EXPECT_EQ(fx.poster.thumbnailCount, 5);
  for (const auto& t : fx.poster.form.image1) EXPECT_FALSE(t.visible);
  EXPECT_TRUE(fx.poster.form.image1[4].picture);
}

TEST(PictureStrip, PagesThroughTwentyThreePictures) {
  CanvasFixture fx;
  loadPictureStrip(fx.poster, CanvasFixture::names(23));
  const ScrollRange& bar = fx.poster.form.vscroll1.scroll;
  EXPECT_EQ(bar.max, 20);
  EXPECT_EQ(bar.min, 0);
  EXPECT_EQ(bar.value, 0);
  EXPECT_EQ(bar.smallChange, 5);
  EXPECT_EQ(bar.largeChange, 10);
  EXPECT_EQ(fx.poster.pictureFiles.size(), 23);
  EXPECT_EQ(fx.poster.pictureFiles[22], "/pics/p22_1785x1340.jpg");
  EXPECT_EQ(fx.poster.thumbnailCount, 10);

  scrollPictureStrip(fx.poster, 20);
  const auto& t = fx.poster.form.image1;
  EXPECT_EQ(fx.poster.thumbnailCount, 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(t[i].visible);
    EXPECT_EQ(t[i].picture->path, fx.poster.pictureFiles[20 + i]);
  }
  for (int i = 3; i < 10; ++i) EXPECT_FALSE(t[i].visible) << i;

  scrollPictureStrip(fx.poster, 15);
  EXPECT_EQ(fx.poster.thumbnailCount, 8);
  EXPECT_EQ(t[0].picture->path, fx.poster.pictureFiles[15]);

  // An empty folder: nothing to show.
  loadPictureStrip(fx.poster, {});
  EXPECT_EQ(bar.max, 0);
  EXPECT_EQ(fx.poster.thumbnailCount, 0);
  for (const auto& e : t) EXPECT_FALSE(e.visible);
  // Eleven names give a second page.
  loadPictureStrip(fx.poster, CanvasFixture::names(11));
  EXPECT_EQ(bar.max, 10);
}

TEST(PictureStrip, HoverFloatsTheLowestFreeSlotOverTheThumbnail) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  loadPictureStrip(p, CanvasFixture::names(23, "3000x1000"));
  fx.place(0);
  fx.place(1);
  EXPECT_EQ(floatPhotoSlot(p, 3, 240, 150), 2);
  const Element& slot = p.form.image3[2];
  const Element& thumb = p.form.image1[3];
  EXPECT_TRUE(slot.visible);
  EXPECT_EQ(slot.left, thumb.left);
  EXPECT_EQ(slot.top, thumb.top);
  EXPECT_EQ(slot.width, thumb.width);
  EXPECT_EQ(slot.height, thumb.height);
  EXPECT_EQ(p.photoFiles[2], p.pictureFiles[3]);
  EXPECT_EQ(slot.picture->path, p.pictureFiles[3]);
  EXPECT_EQ(fx.loader.lastMaxPixels, QSize(1400, 1000));
  EXPECT_EQ(p.grabOffsetX, 240);
  EXPECT_EQ(p.grabOffsetY, 150);
  EXPECT_EQ(p.selectionActive, 1);

  // Every mouse move hovers again: the same file is not decoded again.
  const int loads = fx.loader.loads;
  EXPECT_EQ(floatPhotoSlot(p, 3, 250, 160), 2);
  EXPECT_EQ(fx.loader.loads, loads);

  // On the second page thumbnail 3 is picture 13.
  scrollPictureStrip(p, 10);
  floatPhotoSlot(p, 3, 0, 0);
  EXPECT_EQ(p.photoFiles[2], p.pictureFiles[13]);

  for (int k = 2; k < 10; ++k) fx.place(k);
  EXPECT_EQ(floatPhotoSlot(p, 0, 10, 10), 10);
  EXPECT_TRUE(p.form.image3[10].visible);
  EXPECT_EQ(p.photoFiles[10], p.pictureFiles[10]);
}

TEST(PictureStrip, RebuildAndScrollHideFloatingPhotosOnly) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  loadPictureStrip(p, CanvasFixture::names(23));
  fx.place(0);
  floatPhotoSlot(p, 4, 0, 0);
  ASSERT_TRUE(p.form.image3[1].visible);
  scrollPictureStrip(p, 10);
  EXPECT_FALSE(p.form.image3[1].visible);
  EXPECT_TRUE(p.form.image3[0].visible);
  EXPECT_FLOAT_EQ(p.form.image3[0].left, 600);

  for (int k = 1; k < 10; ++k) fx.place(k);
  floatPhotoSlot(p, 0, 0, 0);
  ASSERT_TRUE(p.form.image3[10].visible);
  scrollPictureStrip(p, p.form.vscroll1.scroll.value);
  EXPECT_FALSE(p.form.image3[10].visible);
  floatPhotoSlot(p, 0, 0, 0);
  loadPictureStrip(p, CanvasFixture::names(3));
  EXPECT_FALSE(p.form.image3[10].visible);
  for (int k = 0; k < 10; ++k) EXPECT_TRUE(p.form.image3[k].visible) << k;
}

TEST(PictureStrip, BrokenFileShowsAMarkCountsAndFloatsNothing) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  loadPictureStrip(p, {"a_3000x1000.jpg", "broken.jpg", "c_1000x3000.jpg"});
  const Element& t = p.form.image1[1];
  EXPECT_EQ(p.thumbnailCount, 3);
  EXPECT_TRUE(t.visible);
  ASSERT_TRUE(t.picture);
  EXPECT_TRUE(t.picture->broken);
  EXPECT_FLOAT_EQ(t.left, 13080);
  EXPECT_FLOAT_EQ(t.top, 2280);
  EXPECT_FLOAT_EQ(t.width, 1785);
  EXPECT_FLOAT_EQ(t.height, 1340);

  floatPhotoSlot(p, 1, 100, 100);
  for (const auto& s : p.form.image3) EXPECT_FALSE(s.visible);
  EXPECT_EQ(p.selectionActive, 0);
  EXPECT_TRUE(p.photoFiles[0].isEmpty());
  // Its neighbours still float.
  floatPhotoSlot(p, 2, 100, 100);
  EXPECT_TRUE(p.form.image3[0].visible);
}

// Hands photos back only when the test says so, as the loader's threads
// would; a "corrupt" file gives its strip picture but no photo.
class LaterLoader : public test::FakePictureLoader {
 public:
  PictureRef load(const QString& path, QSize maxPixels) override {
    PictureRef pic = FakePictureLoader::load(path, maxPixels);
    if (!path.contains("corrupt") || maxPixels != kPhotoMaxPixels) return pic;
    auto broken = std::make_shared<Picture>();
    broken->broken = true;
    broken->path = path;
    return broken;
  }
  void loadLater(const QString& path, QSize maxPixels,
                 std::function<void(PictureRef)> done) override {
    asked << path;
    pending.push_back([this, path, maxPixels, done] { done(load(path, maxPixels)); });
  }
  void handBack() {
    for (auto& f : std::exchange(pending, {})) f();
  }
  QStringList asked;
  std::vector<std::function<void()>> pending;
};

TEST(PictureStrip, HoverFloatsTheStripPictureAtOnceAndThePhotoFollows) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  LaterLoader later;
  p.svc.pictures = &later;
  loadPictureStrip(p, {"a_3000x1000.jpg", "corrupt_3000x1000.jpg"});
  const int loads = later.loads;
  ASSERT_EQ(floatPhotoSlot(p, 0, 10, 10), 0);
  EXPECT_EQ(later.loads, loads);  // nothing decoded while the child waits
  EXPECT_EQ(p.form.image3[0].picture, p.form.image1[0].picture);
  floatPhotoSlot(p, 0, 20, 20);
  later.handBack();
  floatPhotoSlot(p, 0, 30, 30);
  EXPECT_EQ(later.asked, QStringList{"/pics/a_3000x1000.jpg"});  // once, however often hovered
  EXPECT_EQ(p.form.image3[0].picture->image.size(), QSize(200, 66));

  // Placed before its photo is known to be corrupt: the cell shows the
  // mark, the photo goes back, and it is never asked for again.
  ASSERT_EQ(floatPhotoSlot(p, 1, 10, 10), 0);
  p.form.image3[0].left = 600;
  later.handBack();
  EXPECT_FALSE(p.form.image3[0].visible);
  EXPECT_FALSE(isPlaced(p.form.image3[0]));
  EXPECT_TRUE(p.form.image1[1].picture->broken);
  EXPECT_EQ(floatPhotoSlot(p, 1, 10, 10), -1);
  EXPECT_EQ(later.asked.size(), 2);
}

// The event loop runs between thumbnails; a scroll made meanwhile must win
// over the pictures still arriving for the page it left.
class ScrollingLoop : public EventLoop {
 public:
  explicit ScrollingLoop(Poster& p) : p_(p) {}
  void yield() override {
    if (done_) return;
    done_ = true;
    scrollPictureStrip(p_, 10);
  }

 private:
  Poster& p_;
  bool done_ = false;
};

TEST(PictureStrip, PicturesOfAnAbandonedPageAreDropped) {
  CanvasFixture fx;
  Poster& p = fx.poster;
  ScrollingLoop loop(p);
  p.svc.loop = &loop;
  loadPictureStrip(p, CanvasFixture::names(13));
  EXPECT_EQ(p.form.vscroll1.scroll.value, 10);
  EXPECT_EQ(p.thumbnailCount, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(p.form.image1[i].picture->path, p.pictureFiles[10 + i]);
  for (int i = 3; i < 10; ++i) {
    EXPECT_FALSE(p.form.image1[i].visible) << i;
    EXPECT_FALSE(p.form.image1[i].picture) << i;
  }
}

}  // namespace
}  // namespace pastel
