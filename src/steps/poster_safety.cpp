#include "steps/poster_safety.h"

#include <QDir>

#include "canvas/poster.h"
#include "keeping/kept_poster.h"
#include "steps/wizard.h"
#include "words/word_editor.h"

namespace pastel {

namespace {

// Off the paper only what the kind's fields say always count is compared.
template <class K>
bool sameOnPaper(const typename K::Content& a, const typename K::Content& b) {
  const bool placed = isPlaced(a) || isPlaced(b);
  bool same = true;
  K::eachField([&](auto m, Kept, Counts counts) {
    if (counts == Counts::Always || placed) same = same && a.*m == b.*m;
  });
  return same;
}

}  // namespace

bool samePoster(const PosterContent& a, const PosterContent& b) {
  if (a.paperColourCode != b.paperColourCode || a.paper != b.paper) return false;
  bool same = true;
  forEachKind([&](auto k) {
    using K = decltype(k);
    for (size_t i = 0; i < kSlots && same; ++i)
      same = sameOnPaper<K>((a.*K::kContents)[i], (b.*K::kContents)[i]);
  });
  return same;
}

PosterSafety::PosterSafety(Poster& p, KeptPosterStore* store)
    : p_(p), store_(store), checkpoint_(takePosterContent(p)), step_(stepShown()) {}

PosterSafety::StepShown PosterSafety::stepShown() const {
  return {currentStep(p_), p_.form.label5.caption == kStep4OpenedTitle};
}

void PosterSafety::keepNow() {
  if (store_) store_->keep(checkpoint_, {step_.step, step_.opened});
  keptAny_ = true;
}

void PosterSafety::startFromHere() {
  history_.clear();
  step_ = stepShown();
  checkpoint_ = takePosterContent(p_);
}

// Before the word step only the settings dialog changes the words: the word
// list, not the child's work.
static bool onlyWordListDiffers(const PosterContent& a, const PosterContent& b) {
  PosterContent c = a;
  for (size_t i = 0; i < kSlots; ++i) c.words[i].text = b.words[i].text;
  return samePoster(c, b);
}

void PosterSafety::afterHandler(bool gestureDone) {
  if (!gestureDone || wordEditorOpen(p_)) return;
  PosterContent now = takePosterContent(p_);
  const StepShown step = stepShown();
  if (step != step_) {
    // The paper is grabbed anew at a step change: what went before cannot
    // be put back over it.
    history_.clear();
    step_ = step;
    checkpoint_ = std::move(now);
    keepNow();
    return;
  }
  if (samePoster(now, checkpoint_)) return;
  if (step.step < 3 && !history_.canUndo() && onlyWordListDiffers(now, checkpoint_)) {
    checkpoint_ = std::move(now);
    if (keptAny_) keepNow();
    return;
  }
  history_.record(checkpoint_);
  checkpoint_ = std::move(now);
  keepNow();
}

void PosterSafety::apply(const PosterContent& c) {
  applyPosterContent(p_, c);
  p_.selectionActive = 0;
  showSlotsOfStep(p_);
  checkpoint_ = takePosterContent(p_);
  keepNow();
}

void PosterSafety::undo() {
  if (wordEditorOpen(p_)) return;
  if (std::optional<PosterContent> c = history_.undo(takePosterContent(p_))) apply(*c);
}

void PosterSafety::redo() {
  if (wordEditorOpen(p_)) return;
  if (std::optional<PosterContent> c = history_.redo(takePosterContent(p_))) apply(*c);
}

QString continueTextForCopyOf(const QDateTime& kept) {
  return kContinueText + QStringLiteral("\n（のこって いるのは %1 までの ポスターです）")
                             .arg(kept.toString(QStringLiteral("M/d H:mm")));
}

bool PosterSafety::offerLeftBehind() {
  if (!store_ || !p_.svc.dialogs || !p_.svc.pictures) return false;
  for (const KeptOffer& offer : store_->findLeftBehind().offers) {
    const MessageBoxText ask{offer.behind ? continueTextForCopyOf(offer.kept) : kContinueText,
                             kContinueTitle, MsgIcon::Information, MsgButtons::YesNo,
                             MsgAnswer::Yes};
    if (p_.svc.dialogs->message(ask) != MsgAnswer::Yes) {
      store_->drop(offer);
      continue;
    }
    const std::optional<KeptPoster> kept = store_->restore(offer, *p_.svc.pictures);
    if (!kept) continue;  // set aside; the next one, if any, is asked about
    applyPosterContent(p_, kept->content);
    showStep(p_, kept->step.step, kept->step.opened);
    history_.clear();
    step_ = stepShown();
    checkpoint_ = takePosterContent(p_);
    keepNow();
    return true;
  }
  return false;
}

void PosterSafety::endedCleanly() {
  if (store_) store_->discard();
}

std::optional<MessageBoxText> PosterSafety::keepingWarning() {
  if (!store_ || warned_) return std::nullopt;
  const KeptTrouble trouble = store_->trouble();
  if (trouble == KeptTrouble::None) return std::nullopt;
  warned_ = true;
  const QString where = QDir::toNativeSeparators(store_->folder());
  const QString text =
      trouble == KeptTrouble::NoFolder
          ? QStringLiteral(
                "つくりかけの ポスターを しまって おけません。\n"
                "パソコンが とまると、ポスターは きえて しまいます。\n"
                "せんせいへ：%1 に かきこめるか、ディスクが いっぱいで ないか "
                "しらべて ください。")
          : QStringLiteral(
                "つくりかけの ポスターを しまえなく なりました。\n"
                "パソコンが とまると、さいごに しまえた ところまでしか のこりません。\n"
                "せんせいへ：%1 の ディスクが いっぱいで ないか しらべて ください。");
  return MessageBoxText{text.arg(where), QStringLiteral("ファイルエラー"), MsgIcon::Warning};
}

}  // namespace pastel
