#include "canvas/poster_content.h"

#include <gtest/gtest.h>

#include "support/sample_poster.h"
#include "test_support.h"

namespace pastel {
namespace {

// Every part of a poster survives take, change and apply; the copy shares
// the decoded pictures and the paper's pixels instead of copying them.
TEST(PosterContent, TakenAndAppliedBackFieldForField) {
  test::PosterFixture fx;
  Poster& p = fx.poster;
  test::SurfaceCapture capture(p);
  p.svc.capture = &capture;
  p.form.paper.paintDot(100, 100, 20, rgb(255, 0, 0));
  test::makeSamplePoster(p);  // paper grabbed, photos and words placed, step 4
  bringPhotoToTop(p, 3);
  bringWordToTop(p, 6);
  p.photoFiles[3] = QStringLiteral("/pics/うみ.jpg");
  p.wordTextColourCodes[6] = QStringLiteral("#fd7e00");
  const PosterContent taken = takePosterContent(p);
  const PosterContent copy = taken;
  EXPECT_EQ(copy.paper.shown.cacheKey(), p.form.paper.image().cacheKey());
  EXPECT_EQ(copy.photos[3].picture.get(), p.form.image3[3].picture.get());

  // The child goes on: a clear, a new paper, other words, stacking, codes.
  const bool shown3 = p.form.image3[3].visible;
  const QString title = p.form.label5.caption;
  for (int i = 0; i < 10; ++i) {
    parkPhoto(p, i, true);
    p.form.image3[size_t(i)].picture = nullptr;
    p.photoFiles[size_t(i)].clear();
    p.form.text1[size_t(i)].caption = QStringLiteral("x");
    parkWord(p, i, WordPark::Home);
  }
  bringPhotoToTop(p, 0);
  bringWordToTop(p, 0);
  p.form.paper.setBackPicture(nullptr);
  p.form.paper.setBackColor(kBlack);
  p.form.image2.picture = nullptr;
  p.paperColourCode = QStringLiteral("#000000");
  p.wordTextColourCodes[6] = QStringLiteral("#000000");
  ASSERT_NE(takePosterContent(p), taken);

  applyPosterContent(p, copy);
  EXPECT_EQ(takePosterContent(p), taken);
  EXPECT_EQ(p.form.paper.image(), taken.paper.shown);  // the red dot is in it
  EXPECT_EQ(p.form.image2.picture, taken.paper.snapshot);
  EXPECT_EQ(p.photoFiles[3], "/pics/うみ.jpg");
  EXPECT_EQ(p.form.text1[2].caption, "すいか");
  // Stacking: the top of each stack order lies in front of the rest.
  for (int k = 0; k < 9; ++k) {
    EXPECT_LT(p.form.image3[size_t(p.photoStackOrder[k])].z,
              p.form.image3[size_t(p.photoStackOrder[k + 1])].z);
    EXPECT_LT(p.form.text1[size_t(p.wordStackOrder[k])].z,
              p.form.text1[size_t(p.wordStackOrder[k + 1])].z);
  }
  EXPECT_EQ(p.photoStackOrder[9], 3);
  EXPECT_EQ(p.wordStackOrder[9], 6);
  // Not the content's: the step and what is shown stay as they were.
  EXPECT_EQ(p.form.label5.caption, title);
  EXPECT_EQ(p.form.image3[3].visible, shown3);

  // One more dot makes the paper differ; the copy keeps its own pixels.
  p.form.paper.paintDot(5, 5, 3, kWhite);
  EXPECT_NE(takePosterContent(p), taken);
  EXPECT_EQ(copy.paper.shown, taken.paper.shown);
}

}  // namespace
}  // namespace pastel
