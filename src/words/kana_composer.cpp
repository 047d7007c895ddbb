#include "words/kana_composer.h"

#include "platform/kana_converter.h"

namespace pastel {

namespace {

struct KeyChars {
  int key;
  char16_t kana, shiftedKana;  // 0: as unshifted
  char latin, shiftedLatin;    // 0: nothing
};

// A JIS keyboard: each key's kana and its Latin layout.
constexpr KeyChars kKeys[] = {
    {48, u'わ', u'を', '0', 0},    {49, u'ぬ', 0, '1', '!'},      {50, u'ふ', 0, '2', '"'},
    {51, u'あ', u'ぁ', '3', '#'},  {52, u'う', u'ぅ', '4', '$'},  {53, u'え', u'ぇ', '5', '%'},
    {54, u'お', u'ぉ', '6', '&'},  {55, u'や', u'ゃ', '7', '\''}, {56, u'ゆ', u'ゅ', '8', '('},
    {57, u'よ', u'ょ', '9', ')'},  {65, u'ち', 0, 'a', 'A'},      {66, u'こ', 0, 'b', 'B'},
    {67, u'そ', 0, 'c', 'C'},      {68, u'し', 0, 'd', 'D'},      {69, u'い', u'ぃ', 'e', 'E'},
    {70, u'は', 0, 'f', 'F'},      {71, u'き', 0, 'g', 'G'},      {72, u'く', 0, 'h', 'H'},
    {73, u'に', 0, 'i', 'I'},      {74, u'ま', 0, 'j', 'J'},      {75, u'の', 0, 'k', 'K'},
    {76, u'り', 0, 'l', 'L'},      {77, u'も', 0, 'm', 'M'},      {78, u'み', 0, 'n', 'N'},
    {79, u'ら', 0, 'o', 'O'},      {80, u'せ', 0, 'p', 'P'},      {81, u'た', 0, 'q', 'Q'},
    {82, u'す', 0, 'r', 'R'},      {83, u'と', 0, 's', 'S'},      {84, u'か', 0, 't', 'T'},
    {85, u'な', 0, 'u', 'U'},      {86, u'ひ', 0, 'v', 'V'},      {87, u'て', 0, 'w', 'W'},
    {88, u'さ', 0, 'x', 'X'},      {89, u'ん', 0, 'y', 'Y'},      {90, u'つ', u'っ', 'z', 'Z'},
    {186, u'け', 0, ':', '*'},     {187, u'れ', 0, ';', '+'},     {188, u'ね', u'、', ',', '<'},
    {189, u'ほ', 0, '-', '='},     {190, u'る', u'。', '.', '>'}, {191, u'め', u'・', '/', '?'},
    {192, u'゛', 0, '@', '`'},     {219, u'゜', u'「', '[', '{'}, {220, u'ー', 0, '\\', '|'},
    {221, u'む', u'」', ']', '}'}, {222, u'へ', 0, '^', '~'},     {226, u'ろ', 0, '\\', '_'},
};

const KeyChars* keyChars(int key) {
  for (const KeyChars& k : kKeys)
    if (k.key == key) return &k;
  return nullptr;
}

constexpr char16_t kDakuten = u'゛', kHandakuten = u'゜';

// The kana a mark turns the one before it into, or 0.
char16_t combined(char16_t kana, char16_t mark) {
  static const char16_t* const kPlain = u"かきくけこさしすせそたちつてとはひふへほう";
  static const char16_t* const kVoiced = u"がぎぐげござじずぜぞだぢづでどばびぶべぼゔ";
  static const char16_t* const kSemi = u"ぱぴぷぺぽ";
  for (int i = 0; kPlain[i]; ++i) {
    if (kPlain[i] != kana) continue;
    if (mark == kDakuten) return kVoiced[i];
    if (i >= 15 && i < 20) return kSemi[i - 15];
    return 0;
  }
  return 0;
}

}  // namespace

QString toKatakana(const QString& text) {
  QString r = text;
  for (QChar& c : r)
    if (c.unicode() >= 0x3041 && c.unicode() <= 0x3096) c = QChar(c.unicode() + 0x60);
  return r;
}

QStringList kanaCandidates(KanaConverter* converter, const QString& reading) {
  QStringList list;
  if (converter && isConvertibleKana(reading)) {
    const KanaConversion c = converter->convert(reading);
    list = c.word;
    if (!c.phrase.isEmpty() && !list.contains(c.phrase)) list << c.phrase;
  }
  const QString katakana = toKatakana(reading);
  list.removeAll(reading);
  list.removeAll(katakana);
  list << reading;
  if (katakana != reading) list << katakana;
  return list;
}

bool KanaComposer::keyDown(int key) {
  switch (key) {
    case vk::kShift:
      shift_ = true;
      return true;
    case vk::kKanaLock:
      toggleKanaMode();
      return true;
    case vk::kBack:
      if (form_ == Form::Candidate) {
        form_ = Form::Hiragana;
        candidates_.clear();
      } else if (composing()) {
        reading_.chop(1);
        if (!composing()) form_ = Form::Hiragana;
      } else {
        edits_.push_back({KanaEdit::DeleteBefore, {}});
      }
      return true;
    case vk::kDelete:
      // A composition's caret is at its end: nothing lies after it.
      if (!composing()) edits_.push_back({KanaEdit::DeleteAfter, {}});
      return true;
    case vk::kReturn:
      if (composing())
        commit();
      else
        insert(QStringLiteral("\n"));
      return true;
    case vk::kSpace:
      if (composing())
        convertOrNext();
      else
        insert(kana_ ? QStringLiteral("\u3000") : QStringLiteral(" "));
      return true;
    case vk::kConvert:
      if (composing()) convertOrNext();
      return true;
    case vk::kF6:
    case vk::kF7:
      if (composing()) {
        form_ = key == vk::kF7 ? Form::Katakana : Form::Hiragana;
        candidates_.clear();
      }
      return true;
    default:
      break;
  }
  if (key >= vk::kNumpad0 && key <= vk::kNumpad9) {
    // Digits never join a composition: Anthy takes minutes over digit runs.
    commit();
    const int d = key - vk::kNumpad0;
    insert(kana_ ? QString(QChar(u'０' + d)) : QString(QLatin1Char(char('0' + d))));
    return true;
  }
  const KeyChars* k = keyChars(key);
  if (!k) return false;
  if (!kana_) {
    const char c = shift_ ? k->shiftedLatin : k->latin;
    if (c) {
      commit();
      insert(QString(QLatin1Char(c)));
    }
    return true;
  }
  const char16_t kana = shift_ && k->shiftedKana ? k->shiftedKana : k->kana;
  if (kana == kDakuten || kana == kHandakuten)
    typeMark(kana);
  else
    typeKana(QString(QChar(kana)));
  return true;
}

void KanaComposer::keyUp(int key) {
  if (key == vk::kShift) shift_ = false;
}

QString KanaComposer::shown() const {
  switch (form_) {
    case Form::Katakana:
      return toKatakana(reading_);
    case Form::Candidate:
      return candidates_.value(index_, reading_);
    case Form::Hiragana:
      break;
  }
  return reading_;
}

void KanaComposer::choose(int i) {
  if (form_ != Form::Candidate || i < 0 || i >= candidates_.size()) return;
  index_ = i;
  commit();
}

void KanaComposer::commit() {
  if (!composing()) return;
  insert(shown());
  reading_.clear();
  form_ = Form::Hiragana;
  candidates_.clear();
  index_ = 0;
}

std::vector<KanaEdit> KanaComposer::takeEdits() {
  std::vector<KanaEdit> r;
  r.swap(edits_);
  return r;
}

void KanaComposer::typeKana(const QString& k) {
  // A converted composition is done once the next kana comes, as is a full one.
  if (form_ != Form::Hiragana || reading_.size() >= kMaxReadingKana) commit();
  reading_ += k;
}

void KanaComposer::typeMark(char16_t mark) {
  if (form_ == Form::Hiragana && composing()) {
    if (const char16_t c = combined(reading_.back().unicode(), mark)) {
      reading_.back() = QChar(c);
      return;
    }
  }
  typeKana(QString(QChar(mark)));
}

void KanaComposer::convertOrNext() {
  if (form_ == Form::Candidate) {
    if (!candidates_.isEmpty()) index_ = (index_ + 1) % candidates_.size();
    return;
  }
  candidates_ = kanaCandidates(converter_, reading_);
  index_ = 0;
  form_ = Form::Candidate;
}

void KanaComposer::insert(const QString& text) { edits_.push_back({KanaEdit::Insert, text}); }

}  // namespace pastel
