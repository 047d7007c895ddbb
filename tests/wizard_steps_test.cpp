#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "capture/print.h"
#include "capture/save_image.h"
#include "steps/wizard.h"
#include "test_support.h"

namespace pastel {
namespace {

struct Fixture : test::PosterFixture {
  Fixture() : capture(poster) { poster.svc.capture = &capture; }
  test::SurfaceCapture capture;
};

using Names = std::set<QString>;

// Every control but the slots and thumbnails: which are shown, which of
// those are enabled.
Names shownControls(Poster& p, bool enabledOnly) {
  Names s;
  p.form.forEach([&](Element& e) {
    if (e.name.contains('(') || e.name == "Image2") return;
    if (e.visible && (!enabledOnly || e.enabled)) s.insert(e.name);
  });
  return s;
}

struct StepRow {
  int step;
  QString title;
  Names shown;
  Names disabled;
};

const std::vector<StepRow>& stepTable() {
  static const std::vector<StepRow> rows{
      {1,
       "１．かみのいろを きめます",
       {"Label3", "Label5", "Command3", "Command5", "Command11", "Command19", "Command12",
        "Command13", "HScroll1", "Picture1"},
       {"Command5"}},
      {2,
       "２．がぞうを　はります",
       {"Label3", "Label5", "Label2", "Command3", "Command5", "Command6", "Command10", "Command1",
        "Command2", "VScroll1"},
       {}},
      {3,
       "３．もじを　はります",
       {"Label3", "Label5", "Command3", "Command15", "Command4", "Command9", "Command1", "Command2",
        "Command17", "Command18", "Command21"},
       {"Command1", "Command2"}},
      {4,
       "４．ほぞんします",
       {"Label3", "Label5", "Command3", "Command16", "Command4", "Command14", "Command20",
        "Command22"},
       {"Command4"}},
  };
  return rows;
}

void expectStep(Poster& p, int step, const char* how) {
  const StepRow& row = stepTable()[step - 1];
  SCOPED_TRACE(how);
  EXPECT_EQ(p.form.label5.caption, row.title);
  EXPECT_EQ(currentStep(p), step);
  EXPECT_EQ(shownControls(p, false), row.shown);
  Names enabled = row.shown;
  for (const QString& d : row.disabled) enabled.erase(d);
  EXPECT_EQ(shownControls(p, true), enabled);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(p.form.image1[i].visible, step == 2 && i < p.thumbnailCount) << i;
    // Words: all ten in step 3; in the other steps only placed ones may show.
    if (step == 3) {
      EXPECT_TRUE(p.form.text1[i].visible) << i;
    } else if (step == 1) {
      EXPECT_FALSE(p.form.text1[i].visible) << i;
      EXPECT_FALSE(p.form.image3[i].visible) << i;
    } else if (step == 4) {
      EXPECT_EQ(p.form.text1[i].visible, isPlaced(p.form.text1[i])) << i;
    }
  }
}

TEST(WizardSteps, EveryTransitionShowsExactlyItsStep) {
  Fixture fx;
  Poster& p = fx.poster;
  p.thumbnailCount = 3;
  expectStep(p, 1, "start");
  nextFrom1(p);
  expectStep(p, 2, "1 -> 2");
  backFrom2(p);
  expectStep(p, 1, "2 -> 1");
  nextFrom1(p);
  nextFrom2(p);
  expectStep(p, 3, "2 -> 3");
  backFrom3(p);
  expectStep(p, 2, "3 -> 2");
  nextFrom2(p);
  nextFrom3(p);
  expectStep(p, 4, "3 -> 4");
  backFrom4(p);
  expectStep(p, 3, "4 -> 3");

  // The disabled buttons do nothing.
  Fixture fresh;
  backFrom2(fresh.poster);
  expectStep(fresh.poster, 1, "disabled back in step 1");
  nextFrom3(p);
  nextFrom3(p);
  expectStep(p, 4, "disabled next in step 4");
}

// Printing and saving as a picture leave Picture2 over the paper in step 4;
// the steps before it show the live paper, photos and words again.
TEST(WizardSteps, BackFromStepFourUncoversTheLivePaper) {
  Fixture fx;
  Poster& p = fx.poster;
  PdfPrinter printer(fx.dir.filePath("out.pdf"));
  p.svc.printer = &printer;
  const std::vector<std::pair<const char*, std::function<void()>>> cases{
      {"printed", [&] { printPoster(p); }},
      {"saved as a picture",
       [&] {
         fx.dialogs.paths = {fx.dir.filePath("a.bmp")};
         saveAsImage(p);
       }},
      {"printed after opening",
       [&] {
         showOpenedStep(p);
         printPoster(p);
       }},
  };
  nextFrom1(p);
  nextFrom2(p);
  for (const auto& [how, output] : cases) {
    SCOPED_TRACE(how);
    nextFrom3(p);
    printer.answers = {PrinterSetup::Cancelled};
    output();
    EXPECT_TRUE(p.form.picture2.visible);
    backFrom4(p);
    expectStep(p, 3, "back from 4");
    EXPECT_FALSE(p.form.picture2.visible);
  }
  backFrom3(p);
  backFrom2(p);
  expectStep(p, 1, "back to 1");
}

TEST(WizardSteps, EmptyPictureFolderShowsNoThumbnail) {
  Fixture fx;
  fx.poster.thumbnailCount = 0;
  nextFrom1(fx.poster);
  for (const Element& t : fx.poster.form.image1) EXPECT_FALSE(t.visible);
}

TEST(WizardSteps, LeavingStepOneFlattensThePaperAndLinesAccumulate) {
  Fixture fx;
  Poster& p = fx.poster;
  p.form.paper.paintDot(10, 10, 3, rgb(255, 0, 0));
  const int yieldsBefore = fx.loop.yields;
  nextFrom1(p);
  EXPECT_EQ(fx.capture.grabs, 2);
  EXPECT_GT(fx.loop.yields, yieldsBefore);
  ASSERT_TRUE(p.form.image2.picture);
  ASSERT_TRUE(p.form.paper.backPicture());
  EXPECT_FALSE(p.form.picture1.visible);
  EXPECT_EQ(p.form.image2.picture->image.pixelColor(10, 10), QColor(255, 0, 0));

  backFrom2(p);
  EXPECT_TRUE(p.form.picture1.visible);
  // The paper shows its flattened picture with the first line on it.
  EXPECT_EQ(p.form.paper.image().pixelColor(10, 10), QColor(255, 0, 0));
  p.form.paper.paintDot(100, 100, 3, rgb(0, 0, 255));
  nextFrom1(p);
  EXPECT_EQ(fx.capture.grabs, 4);
  const QImage& snap = p.form.image2.picture->image;
  EXPECT_EQ(snap.pixelColor(10, 10), QColor(255, 0, 0));
  EXPECT_EQ(snap.pixelColor(100, 100), QColor(0, 0, 255));
}

TEST(WizardSteps, PhotosAndWordsAreParkedAndTidied) {
  Fixture fx;
  Poster& p = fx.poster;
  MainForm& f = p.form;
  nextFrom1(p);
  // Photo 0 placed and framed, photo 1 floating but still free.
  f.image3[0].left = 500;
  f.image3[0].top = 3000;
  f.image3[0].width = 3998.4f;
  f.image3[0].height = 3001.6f;
  f.image3[0].visible = true;
  f.image3[0].borderStyle = 1;
  f.image3[1].visible = true;
  f.image3[1].width = 900;
  f.image3[10].visible = true;
  nextFrom2(p);
  EXPECT_TRUE(f.image3[0].visible);
  EXPECT_EQ(f.image3[0].borderStyle, 0);
  EXPECT_FLOAT_EQ(f.image3[0].width, 3998.4f);
  EXPECT_FALSE(f.image3[1].visible);
  EXPECT_FLOAT_EQ(f.image3[1].width, 1785);
  EXPECT_FALSE(f.image3[10].visible);

  // A word placed in step 3 stays shown when going back to step 2.
  f.text1[4].left = 2000;
  f.text1[4].top = 4000;
  f.text1[5].height = 645;
  f.text1[5].top = 1234;
  backFrom3(p);
  EXPECT_TRUE(f.text1[4].visible);
  EXPECT_FLOAT_EQ(f.text1[4].left, 2000);
  EXPECT_FALSE(f.text1[5].visible);
  EXPECT_FLOAT_EQ(f.text1[5].height, 345);
  EXPECT_FLOAT_EQ(f.text1[5].top, 1234);  // only its size is reset here

  // Back to step 1 parks everything, words at their home 120 twips higher.
  backFrom2(p);
  for (int i = 0; i < 10; ++i) {
    EXPECT_FALSE(f.image3[i].visible);
    EXPECT_FLOAT_EQ(f.image3[i].left, 9500);
    EXPECT_FLOAT_EQ(f.image3[i].width, 1785);
    EXPECT_FLOAT_EQ(f.image3[i].height, 1340);
    EXPECT_FLOAT_EQ(f.text1[i].left, 11040);
    EXPECT_FLOAT_EQ(f.text1[i].top, 2520 + 720 * i);
    EXPECT_FLOAT_EQ(f.text1[i].fontSize, 14);
  }
  EXPECT_FLOAT_EQ(f.image3[0].top, 3000);  // top is not changed
  nextFrom1(p);
  nextFrom2(p);
  for (int i = 0; i < 10; ++i) EXPECT_FLOAT_EQ(f.text1[i].top, 2520 + 720 * i);
  nextFrom3(p);
  for (int i = 0; i < 10; ++i) {
    EXPECT_FLOAT_EQ(f.text1[i].top, 2640 + 720 * i);
    EXPECT_FALSE(f.text1[i].visible);
  }
  EXPECT_EQ(p.selectionActive, 0);

  // 4 -> 3 brings placed photos back and every word.
  f.image3[0].left = 500;
  f.image3[0].visible = false;
  backFrom4(p);
  EXPECT_TRUE(f.image3[0].visible);
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(f.text1[i].visible);
}

}  // namespace
}  // namespace pastel
