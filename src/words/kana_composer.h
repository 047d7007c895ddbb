#pragma once
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/virtual_keys.h"

namespace pastel {

class KanaConverter;

// What the editor does with the text around the caret, in order.
struct KanaEdit {
  enum Kind { Insert, DeleteBefore, DeleteAfter };
  Kind kind;
  QString text;  // for Insert
  bool operator==(const KanaEdit& o) const { return kind == o.kind && text == o.text; }
};

// Turns virtual-key strokes into what a JIS keyboard in kana mode and a
// Japanese input method give: a composition (shown, not yet text) and edits
// of the text. With the kana lock off the keys type the Latin layout.
class KanaComposer {
 public:
  enum class Form { Hiragana, Katakana, Candidate };

  explicit KanaComposer(KanaConverter* converter) : converter_(converter) {}

  // False when the key means nothing here.
  bool keyDown(int key);
  void keyUp(int key);

  bool kanaMode() const { return kana_; }
  void toggleKanaMode() { kana_ = !kana_; }

  bool composing() const { return !reading_.isEmpty(); }
  const QString& reading() const { return reading_; }
  Form form() const { return form_; }
  QString shown() const;  // the composition as it is shown
  bool converting() const { return form_ == Form::Candidate; }
  const QStringList& candidates() const { return candidates_; }
  int candidateIndex() const { return index_; }

  // Commits candidate i of the list shown.
  void choose(int i);
  // Commits the composition as it is shown.
  void commit();

  std::vector<KanaEdit> takeEdits();

 private:
  void typeKana(const QString& k);
  void typeMark(char16_t mark);
  void convertOrNext();
  void insert(const QString& text);

  KanaConverter* converter_;
  bool kana_ = false;
  bool shift_ = false;
  QString reading_;  // what was typed, in hiragana
  Form form_ = Form::Hiragana;
  QStringList candidates_;
  int index_ = 0;
  std::vector<KanaEdit> edits_;
};

// Full-width katakana of the hiragana in `text`; everything else kept.
QString toKatakana(const QString& text);

// The candidates of a reading, in the order shown: the reading as one word,
// then the converter's own words joined when that differs, and last always
// the hiragana and the katakana form, so a child can get back.
QStringList kanaCandidates(KanaConverter* converter, const QString& reading);

}  // namespace pastel
