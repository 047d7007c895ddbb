#include "storage/open_poster.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <vector>

#include "canvas/picture_strip.h"
#include "canvas/poster.h"
#include "platform/dialogs.h"
#include "platform/picture_decoder.h"
#include "platform/picture_loader.h"
#include "platform/twips.h"
#include "steps/palette.h"
#include "steps/wizard.h"
#include "storage/poster_db.h"
#include "storage/save_commit.h"
#include "storage/save_poster.h"
#include "storage/value_formats.h"
#include "words/word_lines.h"
#include "words/word_slots.h"

namespace pastel {

namespace {

constexpr int kBackColorBuffer = 0;
constexpr int kSgazoBuffer = 132;
int photoBuffer(int i) { return 1 + 5 * i; }
int wordBuffer(int i) { return 52 + 8 * i; }

// A poster read whole, before anything on the window changes.
struct ReadPoster {
  FieldBuffers buffers;
  std::array<PictureRef, 10> photos;
  std::array<QString, 10> photoFiles;
  PictureRef paper;
};

// A stored path that names nothing in the poster's folder but could: the
// photo is missing, and its entry keeps the stored path. A path refused by
// the rules gives no entry at all, so that a later save never copies from
// outside the folder.
bool plainMissing(const QString& folder, const QString& rel) {
  if (rel.isEmpty() || rel.startsWith(QLatin1Char('/')) || rel.contains(QChar(0))) return false;
  static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
  if (drive.match(rel).hasMatch()) return false;
  for (const QString& part : rel.split(QLatin1Char('/')))
    if (part == QLatin1String("..")) return false;
  const QFileInfo fi(folder + rel);
  return !fi.exists() && !fi.isSymLink();
}

// A twips value from the file, or the parked one when it does not convert
// or could not be a 16-bit position.
float twipsOr(const QString& text, float parked) {
  const std::optional<float> v = parseTwips(text);
  return v && *v >= -32768 && *v <= 32767 ? *v : parked;
}

// Pixels enough for the photos as they lie on the paper, with room for a few
// presses of おおきく: a camera photo then decodes at a fraction of its size.
QSize photoBox(const ReadPoster& r) {
  int w = 1, h = 1;
  for (int i = 0; i < 10; ++i) {
    const int k = photoBuffer(i);
    if (r.buffers[size_t(k + 4)].isEmpty()) continue;
    w = std::max(w, twipsToPixels(2 * twipsOr(r.buffers[size_t(k + 2)], kParkedPhotoWidth)));
    h = std::max(h, twipsToPixels(2 * twipsOr(r.buffers[size_t(k + 3)], kParkedPhotoHeight)));
  }
  return QSize(w, h).boundedTo(kPhotoMaxPixels);
}

void readPictures(Poster& p, const QString& folder, ReadPoster& r) {
  QStringList paths;
  std::vector<int> slotOf;
  for (int i = 0; i < 10; ++i) {
    const QString stored = r.buffers[size_t(photoBuffer(i) + 4)];
    if (stored.isEmpty()) continue;
    QString rel = stored;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const std::optional<QString> file = resolveStoredPath(folder, stored);
    if (file || plainMissing(folder, rel)) r.photoFiles[size_t(i)] = folder + rel;
    r.photos[size_t(i)] = brokenPicture(folder + rel);
    if (!file) continue;
    paths << *file;
    slotOf.push_back(i);
  }
  if (!p.svc.pictures) return;
  p.svc.pictures->loadEach(paths, photoBox(r), [&r, &slotOf](int k, PictureRef pic) {
    if (k >= 0 && k < int(slotOf.size()) && pic)
      r.photos[size_t(slotOf[size_t(k)])] = std::move(pic);
  });
  const std::optional<QString> paper = resolveStoredPath(folder, r.buffers[kBackColorBuffer]);
  if (paper) {
    PictureRef pic =
        p.svc.pictures->load(*paper, QSize(PaperSurface::kWidthPx, PaperSurface::kHeightPx));
    if (pic && !pic->broken && !pic->image.isNull()) r.paper = std::move(pic);
  }
}

QString withEditorBreaks(const QString& stored) {
  QString t = stored;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

// Record i into slot i, photos then words, each brought to the front in
// record order: record 9 ends on top, and the stack orders say so.
void putOnWindow(Poster& p, ReadPoster& r) {
  MainForm& f = p.form;
  const FieldBuffers& b = r.buffers;
  for (int i = 0; i < 10; ++i) {
    const int k = photoBuffer(i);
    Element& e = f.image3[size_t(i)];
    e.left = twipsOr(b[size_t(k)], kParkedPhotoLeft);
    if (isPlaced(e)) e.visible = true;
    e.top = twipsOr(b[size_t(k + 1)], 0);
    e.width = twipsOr(b[size_t(k + 2)], kParkedPhotoWidth);
    e.height = twipsOr(b[size_t(k + 3)], kParkedPhotoHeight);
    e.picture = std::move(r.photos[size_t(i)]);
    p.photoFiles[size_t(i)] = r.photoFiles[size_t(i)];
    f.bringToFront(e);
    p.photoStackOrder[size_t(i)] = std::int16_t(i);
  }
  for (int i = 0; i < 10; ++i) {
    const int k = wordBuffer(i);
    Element& w = f.text1[size_t(i)];
    w.left = twipsOr(b[size_t(k)], kWordColumnLeft);
    if (isPlaced(w)) w.visible = true;
    w.top = twipsOr(b[size_t(k + 1)], wordColumnTop(i));
    w.width = twipsOr(b[size_t(k + 2)], kParkedWordWidth);
    w.height = twipsOr(b[size_t(k + 3)], kParkedWordHeight);
    const std::optional<float> size = parseFontSize(b[size_t(k + 4)]);
    w.fontSize = size && *size >= 1 && *size <= 200 ? *size : kParkedWordFontSize;
    w.caption = withinWordLength(withEditorBreaks(b[size_t(k + 5)]));
    applyHeightRule(p, i);
    w.foreColor = parseColour(b[size_t(k + 6)]).value_or(kBlack);
    textCodeOfColour(p, i);
    w.backColor = parseColour(b[size_t(k + 7)]).value_or(kWhite);
    frameCodeOfColour(p, i);
    f.bringToFront(w);
    p.wordStackOrder[size_t(i)] = std::int16_t(i);
  }
  f.paper.setBackPicture(r.paper);
  f.image2.picture = r.paper;
  // Kept, so that saving again stores the code the poster had.
  static const QRegularExpression code(QStringLiteral("^#[0-9a-fA-F]{6}$"));
  if (code.match(b[kSgazoBuffer]).hasMatch()) p.paperColourCode = b[kSgazoBuffer].toLower();
}

void showFinishingStep(Poster& p) {
  MainForm& f = p.form;
  f.label5.caption = kStep4OpenedTitle;
  f.label2.visible = false;
  for (int u = 0; u < 10; ++u) {
    f.image1[size_t(u)].visible = false;
    f.image3[size_t(u)].borderStyle = kNoFrame;
    if (!isPlaced(f.image3[size_t(u)])) {
      parkPhoto(p, u, false);
      f.image3[size_t(u)].visible = false;
    }
    f.text1[size_t(u)].borderStyle = kNoFrame;
    if (!isPlaced(f.text1[size_t(u)])) {
      parkWord(p, u, WordPark::Column);
      f.text1[size_t(u)].visible = false;
    }
  }
  setOpenedStepControls(p);
}

OpenResult refused(const QString& error) { return {OpenStatus::Refused, error}; }

}  // namespace

OpenResult openPosterFile(Poster& p, const QString& path) {
  // A save of this poster killed halfway is finished first, so the poster
  // read is whole: the one thing opening ever writes beside it.
  {
    const QFileInfo db(path);
    const PosterLock lock(db.path() + QLatin1Char('/') + db.completeBaseName());
    if (!lock.busy()) finishInterruptedSave(path, false);
  }
  // Read and check all of it first: a file that is not a whole poster
  // database changes nothing.
  ReadPoster r;
  const ExchangeResult x = readFieldBuffers(path, r.buffers);
  if (!x.ok()) return refused(x.failures.join(QStringLiteral("; ")));
  const QString folder = QFileInfo(path).absolutePath() + QLatin1Char('/');
  readPictures(p, folder, r);

  p.windowEnabled = false;
  putOnWindow(p, r);
  // The window only repaints meanwhile: it takes no input while disabled,
  // and what follows reads the slotOf afresh.
  yieldToEvents(p);
  yieldToEvents(p);
  showFinishingStep(p);
  yieldToEvents(p);
  p.windowEnabled = true;
  return {OpenStatus::Opened, {}};
}

OpenResult openPoster(Poster& p) {
  if (p.opening || p.saving) return {OpenStatus::Busy, {}};
  p.opening = true;
  yieldToEvents(p);
  OpenResult r{OpenStatus::Cancelled, {}};
  if (p.svc.dialogs && !p.saving) {
    FileDialogRequest request;
    request.filter = QStringLiteral("MDB(*.mdb)");
    request.directory = saveDialogFolder(p);
    const std::optional<QString> chosen = p.svc.dialogs->openFile(request);
    if (chosen && !chosen->isEmpty() && !p.saving) {
      p.saveFolder = QFileInfo(*chosen).absolutePath();
      r = openPosterFile(p, *chosen);
      if (r.status == OpenStatus::Refused)
        p.svc.dialogs->message(
            {kOpenRefusedText, kOpenTitle, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
    }
  }
  p.opening = false;
  return r;
}

}  // namespace pastel
