#include "steps/poster_safety.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <atomic>

#include "canvas/clearing.h"
#include "canvas/lines.h"
#include "canvas/photo_editing.h"
#include "canvas/picture_strip.h"
#include "canvas_fixture.h"
#include "keeping/kept_poster.h"
#include "steps/palette.h"
#include "steps/wizard.h"
#include "words/word_editor.h"
#include "words/word_slots.h"

namespace pastel {
namespace {

// Handlers as the window runs them, each followed by the safety's look at
// the poster; `held` while the mouse button stays down.
struct SafetyFixture : test::CanvasFixture {
  SafetyFixture() : capture(poster), safety(poster, nullptr) {
    poster.svc.capture = &capture;
    poster.form.vscroll1.visible = false;
    poster.form.picture1.visible = true;
    loadPictureStrip(poster, names(3));
    poster.form.command13.backColor = rgb(0, 0, 255);  // the line colour
    for (int i = 0; i < 10; ++i) setWordText(poster, i, QStringLiteral("w%1").arg(i));
  }
  void run(const std::function<void()>& handler, bool held = false) {
    handler();
    safety.afterHandler(!held);
  }
  test::SurfaceCapture capture;
  PosterSafety safety;
};

// Each kind of change is one step back and forth, whole: a stroke from
// press to release, a photo placed, a visit to the word editor, a colour,
// a clear. A step change starts afresh; the editor refuses while open.
TEST(PosterSafety, EveryKindOfChangeIsTakenBackWholeAndBroughtAgain) {
  SafetyFixture fx;
  Poster& p = fx.poster;
  MainForm& f = p.form;
  const QImage blank = f.paper.image();
  fx.run([&] { penPress(p, f.paper, 1500, 1500); }, true);
  for (int x = 1600; x < 3000; x += 150) fx.run([&] { penMove(p, f.paper, x, 1500); }, true);
  fx.run([&] { penRelease(p); });
  const QImage stroke = f.paper.image();
  ASSERT_NE(stroke, blank);
  EXPECT_EQ(fx.safety.history().undoCount(), 1);  // one stroke, one change
  fx.run([&] { fx.safety.undo(); });
  EXPECT_EQ(f.paper.image(), blank);
  fx.run([&] { fx.safety.redo(); });
  EXPECT_EQ(f.paper.image(), stroke);

  // The paper is grabbed at the step change: nothing before it comes back.
  fx.run([&] { nextFrom1(p); });
  EXPECT_FALSE(fx.safety.history().canUndo());
  // A hover floats a photo over the strip: nothing on the poster changed.
  int k = -1;
  fx.run([&] { k = floatPhotoSlot(p, 0, 300, 200); });
  ASSERT_EQ(k, 0);
  EXPECT_FALSE(fx.safety.history().canUndo());
  fx.run([&] { pressPhoto(p, k); }, true);
  for (float x = 200; x > -9000; x -= 1500) fx.run([&] { movePhoto(p, k, true, x, 200); }, true);
  fx.run([&] { releasePhoto(p, k); });
  ASSERT_TRUE(isPlaced(f.image3[0]));
  EXPECT_EQ(fx.safety.history().undoCount(), 1);
  fx.run([&] { fx.safety.undo(); });
  EXPECT_FALSE(isPlaced(f.image3[0]));
  EXPECT_FALSE(f.image3[0].visible);
  fx.run([&] { fx.safety.redo(); });
  EXPECT_TRUE(isPlaced(f.image3[0]));
  EXPECT_TRUE(f.image3[0].visible);
  fx.run([&] { clearPhotos(p); });
  fx.run([&] { fx.safety.undo(); });
  EXPECT_TRUE(f.image3[0].visible);

  // Words: a colour, then one visit to the editor with two edits in it.
  fx.run([&] { nextFrom2(p); });
  fx.run([&] { selectWord(p, 2, 10, 10); });
  fx.run([&] { openPalette(p, PaletteTarget::WordText); });
  fx.run([&] { clickSwatch(p, 17); });
  fx.run([&] { paletteOk(p); });
  EXPECT_EQ(p.wordTextColourCodes[2], "#ff0000");
  fx.run([&] { wordEditorClick(p); });
  ASSERT_TRUE(wordEditorOpen(p));
  f.text3.caption = QStringLiteral("あめ");
  fx.run([&] { selectWord(p, 4, 10, 10); });
  f.text3.caption = QStringLiteral("ゆき");
  const int before = fx.safety.history().undoCount();
  fx.run([&] { fx.safety.undo(); });  // refused while the editor is open
  EXPECT_EQ(f.text1[2].caption, "あめ");
  fx.run([&] { wordEditorClick(p); });
  EXPECT_EQ(fx.safety.history().undoCount(), before + 1);
  fx.run([&] { fx.safety.undo(); });
  EXPECT_EQ(f.text1[2].caption, "w2");
  EXPECT_EQ(f.text1[4].caption, "w4");
  EXPECT_EQ(p.wordTextColourCodes[2], "#ff0000");
  fx.run([&] { fx.safety.undo(); });
  EXPECT_EQ(p.wordTextColourCodes[2], "#000000");
  EXPECT_EQ(f.text1[2].foreColor, kBlack);
  for (const Element& w : f.text1) EXPECT_TRUE(w.visible);  // step 3 shows every word
  fx.run([&] { fx.safety.redo(); });
  fx.run([&] { fx.safety.redo(); });
  EXPECT_EQ(f.text1[4].caption, "ゆき");
  EXPECT_FALSE(fx.safety.history().canRedo());
}

// Writes that start failing are told once; the next start's question says
// how old the copy left is, since the poster went on after it.
TEST(PosterSafety, FailingWritesAreToldOnceAndTheCopyLeftSaysItsAge) {
  QTemporaryDir dir;
  std::atomic<bool> failing{false};
  KeptPosterStore::Options o;
  o.folder = dir.path();
  o.name = "1";
  o.failAt = [&failing](KeptWriteStage) { return failing.load(); };
  QDateTime kept;
  {
    KeptPosterStore store(o);
    SafetyFixture f;
    PosterSafety safety(f.poster, &store);
    f.poster.paperColourCode = "#ff0000";
    safety.afterHandler(true);
    store.flush();
    EXPECT_FALSE(safety.keepingWarning());
    kept = QFileInfo(store.path()).lastModified();
    failing = true;
    f.poster.paperColourCode = "#00ff00";
    safety.afterHandler(true);
    store.flush();
    const std::optional<MessageBoxText> told = safety.keepingWarning();
    ASSERT_TRUE(told);
    EXPECT_TRUE(told->text.startsWith("つくりかけの ポスターを しまえなく なりました"));
    EXPECT_TRUE(told->text.contains(dir.path()));
    EXPECT_FALSE(safety.keepingWarning());
  }
  o.name = "2";
  failing = false;
  KeptPosterStore store(o);
  SafetyFixture f;
  PosterSafety safety(f.poster, &store);
  f.dialogs.answers.push_back(MsgAnswer::Yes);
  EXPECT_TRUE(safety.offerLeftBehind());
  ASSERT_EQ(f.dialogs.messages.size(), 1u);
  EXPECT_EQ(f.dialogs.messages[0].text, continueTextForCopyOf(kept));
  EXPECT_TRUE(f.dialogs.messages[0].text.contains(kept.toString("H:mm")));
  EXPECT_EQ(f.poster.paperColourCode, "#ff0000");
}

}  // namespace
}  // namespace pastel
