#pragma once
#include <QDateTime>
#include <QString>
#include <optional>

#include "canvas/poster_content.h"
#include "canvas/undo_history.h"
#include "platform/dialogs.h"

namespace pastel {

struct Poster;
class KeptPosterStore;

inline const QString kContinueTitle = QStringLiteral("つづき");
inline const QString kContinueText = QStringLiteral("まえの ポスターの つづきを しますか？");
// A copy older than the poster was when its program stopped.
QString continueTextForCopyOf(const QDateTime& kept);

// Keeps what a child makes. After every handler, a finished change to the
// poster's content is recorded for undo and kept on disk for after a crash;
// a step change starts a new history. The store may be absent (nothing is
// kept then).
class PosterSafety {
 public:
  PosterSafety(Poster& p, KeptPosterStore* store);

  // After every handler of the child's input. `gestureDone` is false while
  // a mouse button is still held: a stroke or a drag is one change, taken
  // when it ends. While the word editor is open its visit is one change.
  void afterHandler(bool gestureDone);

  // Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z: the last change of this step taken
  // back and brought again. Nothing while the word editor is open.
  void undo();
  void redo();

  // At start, before the settings dialog: a poster left by a program that
  // did not end through its confirmation is offered back ("つづき"). Yes
  // puts it on the window in the step it was in; No removes it. True when
  // one was put back.
  bool offerLeftBehind();

  // What the poster is now is where the history starts, with nothing kept:
  // start-up's paper and word list are not the child's changes.
  void startFromHere();

  // The program ends through its own confirmation: nothing is left to offer.
  void endedCleanly();

  // Once: that the poster is not being kept (no folder for it, or writing
  // it failed), for the window to show.
  std::optional<MessageBoxText> keepingWarning();

  const UndoHistory& history() const { return history_; }

 private:
  struct StepShown {
    int step = 1;
    bool opened = false;
    bool operator!=(const StepShown& o) const { return step != o.step || opened != o.opened; }
  };
  StepShown stepShown() const;
  void keepNow();
  void apply(const PosterContent& c);

  Poster& p_;
  KeptPosterStore* store_;
  UndoHistory history_;
  PosterContent checkpoint_;  // the content after the last change
  StepShown step_;
  bool keptAny_ = false;  // a poster of this run lies on disk
  bool warned_ = false;
};

// Two contents hold the same poster: what a save would write and the
// screen shows, whatever lies parked and unseen (a photo floated over the
// strip, the stacking of parked words).
bool samePoster(const PosterContent& a, const PosterContent& b);

}  // namespace pastel
