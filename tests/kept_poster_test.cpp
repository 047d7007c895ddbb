#include "keeping/kept_poster.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <atomic>
#include <cmath>

#include "form/main_form.h"
#include "platform/file_picture_loader.h"

namespace pastel {
namespace {

QImage pattern(int w, int h, int seed, QImage::Format f = QImage::Format_RGB32) {
  QImage img(w, h, f);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y,
                   qRgba((x * 7 + seed) & 255, (y * 3 + seed) & 255, (x ^ y) & 255,
                         f == QImage::Format_RGB32 ? 255 : (x + y) & 255));
  return img;
}

// A poster in the middle of its making: a paper with lines over a grabbed
// picture, photos from files (two slots showing one file, one file gone, a
// broken one), words with Japanese text and colour codes, a stacking.
PosterContent sampleContent(const QString& folder, int variant = 0) {
  PosterContent c;
  c.paperColourCode = QStringLiteral("#ffcc99");
  c.paper.colour = rgb(255, 204, 153);
  auto grab = std::make_shared<Picture>();
  grab->image = pattern(PaperSurface::kWidthPx, PaperSurface::kHeightPx, variant);
  grab->widthHiMetric = 18706;
  grab->heightHiMetric = 13203;
  c.paper.picture = grab;
  // A second grab with the same pixels, or (an opened poster) the picture itself.
  c.paper.snapshot = variant == 1 ? grab : pictureFromImage(grab->image.copy());
  c.paper.shown = grab->image.copy();
  QPainter(&c.paper.shown).fillRect(100 + variant, 50, 40, 300, Qt::red);
  for (size_t i = 0; i < 10; ++i) {
    PhotoContent& ph = c.photos[i];
    ph.left = 300 + 900.5f * float(i), ph.top = 2900 + 100 * float(i) + float(variant);
    ph.width = 1785, ph.height = 1340, ph.enlarged = i % 2;
    c.words[i] = {QStringLiteral("なつ やすみ\n%1").arg(i),
                  400.0f + 10 * float(i),
                  7000,
                  3855,
                  345,
                  14.25f + float(i),
                  rgb(0xc0, 0, 0),
                  kSysWindowBackground,
                  QStringLiteral("#c00000"),
                  QString()};
    c.photoStackOrder[i] = std::int16_t(9 - i);
    c.wordStackOrder[i] = std::int16_t((i + 3) % 10);
  }
  const QString a = folder + QStringLiteral("/うみ 1.bmp"), b = folder + QStringLiteral("/b.bmp");
  for (size_t i : {0, 1, 2, 3, 4}) {
    c.photos[i].file = i == 2 ? b : a;
    c.photos[i].picture = std::make_shared<Picture>(Picture{{}, 1, 1, false, c.photos[i].file, {}});
  }
  c.photos[5].file = folder + QStringLiteral("/gone.jpg");
  c.photos[5].picture = std::make_shared<Picture>(Picture{{}, 1, 1, false, c.photos[5].file, {}});
  c.photos[6].file = folder + QStringLiteral("/bad.gif");
  c.photos[6].picture = std::make_shared<Picture>(Picture{{}, 0, 0, true, c.photos[6].file, {}});
  return c;
}

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// What a kept file holds now, read strictly.
std::optional<KeptRecord> readKept(const QString& path) {
  return decodeKeptPoster(fileBytes(path));
}

KeptPosterStore::Options at(const QString& folder, const QString& name) {
  KeptPosterStore::Options o;
  o.folder = folder;
  o.name = name;
  return o;
}

// Everything comes back: the content field for field, the step, the
// paper's three pictures pixel for pixel, the photos decoded again from
// their files at twice their placed size, a missing file as the broken mark.
TEST(KeptPoster, WrittenAndRestoredFieldForField) {
  QTemporaryDir dir;
  const QString pics = dir.path() + "/pics", state = dir.path() + "/state/pastelboard";
  QDir().mkpath(pics);
  ASSERT_TRUE(pattern(600, 400, 1).save(pics + "/うみ 1.bmp", "BMP"));
  ASSERT_TRUE(pattern(300, 200, 2).save(pics + "/b.bmp", "BMP"));
  PosterContent c = sampleContent(pics);
  c.paper.snapshot = pictureFromImage(pattern(200, 100, 3, QImage::Format_ARGB32_Premultiplied));
  const KeptStep step{4, true};
  {
    KeptPosterStore gone(at(state, "4242"));
    ASSERT_TRUE(gone.ready());
    gone.keep(c, step);
  }  // the end of a process that never said goodbye: kept, not removed
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(state).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  KeptPosterStore next(at(state, "5000"));
  const KeptFindings found = next.findLeftBehind();
  ASSERT_EQ(found.offers.size(), 1u);
  EXPECT_TRUE(found.setAside.isEmpty());
  EXPECT_EQ(found.offers[0].owner, "4242");
  EXPECT_EQ(found.offers[0].step, step);
  FilePictureLoader loader;
  const std::optional<KeptPoster> back = next.restore(found.offers[0], loader);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->step, step);
  const PosterContent& r = back->content;

  // Pictures aside, every field is the kept one.
  PosterContent expected = c;
  expected.paper.picture = r.paper.picture;
  expected.paper.snapshot = r.paper.snapshot;
  for (size_t i = 0; i < 10; ++i) expected.photos[i].picture = r.photos[i].picture;
  EXPECT_EQ(r, expected);
  for (auto [kept, restored] : {std::pair(c.paper.picture, r.paper.picture),
                                std::pair(c.paper.snapshot, r.paper.snapshot)}) {
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->image, kept->image);
    EXPECT_EQ(restored->image.format(), kept->image.format());
    EXPECT_EQ(restored->widthHiMetric, kept->widthHiMetric);
    EXPECT_EQ(restored->heightHiMetric, kept->heightHiMetric);
    EXPECT_EQ(restored->broken, kept->broken);
  }
  EXPECT_EQ(r.paper.shown, c.paper.shown);
  EXPECT_EQ(r.paper.shown.format(), QImage::Format_RGB32);

  // Photos: one decode for a file shown twice, at the size opening asks.
  ASSERT_TRUE(r.photos[0].picture && !r.photos[0].picture->broken);
  EXPECT_EQ(r.photos[0].picture, r.photos[1].picture);
  const QSize box(twipsToPixels(2 * 1785), twipsToPixels(2 * 1340));
  EXPECT_EQ(r.photos[0].picture->image, loader.load(pics + "/うみ 1.bmp", box)->image);
  EXPECT_EQ(r.photos[2].picture->image, loader.load(pics + "/b.bmp", box)->image);
  EXPECT_LT(r.photos[2].picture->image.width(), 300);
  EXPECT_EQ(r.photos[0].picture->path, pics + "/うみ 1.bmp");
  for (size_t i : {5, 6}) {
    ASSERT_TRUE(r.photos[i].picture);
    EXPECT_TRUE(r.photos[i].picture->broken);
    EXPECT_EQ(r.photos[i].picture->path, c.photos[i].file);
  }
  EXPECT_FALSE(r.photos[7].picture);

  // Taken over: it is now this process's kept poster, and nothing else is
  // offered; the picture folder holds only what it held.
  EXPECT_FALSE(QFile::exists(state + "/4242.kept"));
  EXPECT_TRUE(QFile::exists(next.path()));
  EXPECT_EQ(QDir(pics).entryList(QDir::Files).size(), 2);
  EXPECT_TRUE(next.findLeftBehind().offers.empty());
}

// Kept files written by earlier runs must keep reading: the bytes for a
// poster with every photo and word field set stay exactly these.
TEST(KeptPoster, FileBytesStayTheSame) {
  PosterContent c;
  c.paperColourCode = QStringLiteral("#ffcc99");
  c.paper.colour = rgb(255, 204, 153);
  for (size_t i = 0; i < 10; ++i) {
    const float f = float(i);
    PhotoContent& ph = c.photos[i];
    ph.file = QStringLiteral("/え/%1.bmp").arg(i);
    ph.left = 300.5f + f, ph.top = 2900 + f, ph.width = 1785.25f - f, ph.height = 1340 + 2 * f;
    ph.enlarged = std::int16_t(i % 2);
    if (i < 7)
      ph.picture = std::make_shared<Picture>(
          Picture{{}, 1, 1, i == 6, i == 3 ? QStringLiteral("/ほか.jpg") : QString(), {}});
    c.words[i] = {QStringLiteral("なつ\n%1").arg(i),
                  400.5f + f,
                  7000 - f,
                  3855 + f,
                  345 - f,
                  14.25f + f,
                  rgb(0xc0, 0, int(i)),
                  kSysWindowBackground + ColourValue(i),
                  QStringLiteral("#c0000%1").arg(i),
                  QStringLiteral("#f%1").arg(i)};
    c.photoStackOrder[i] = std::int16_t(9 - i);
    c.wordStackOrder[i] = std::int16_t((i + 3) % 10);
  }
  const QByteArray bytes = encodeKeptPoster(c, KeptStep{3, false});
  EXPECT_EQ(bytes.size(), 1114);
  EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString(),
            "419bbe2895a25bd3098062b3f14c12041d461dba828068ea34c2594fd7a7fa27");

  const std::optional<KeptRecord> back = decodeKeptPoster(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->step, (KeptStep{3, false}));
  PosterContent expected = c;
  for (PhotoContent& ph : expected.photos) ph.picture = nullptr;
  EXPECT_EQ(back->content, expected);
  EXPECT_EQ(back->photoSource[3], KeptPhotoSource::File);
  EXPECT_EQ(back->photoPath[3], "/ほか.jpg");
  EXPECT_EQ(back->photoPath[4], "/え/4.bmp");
  EXPECT_EQ(back->photoSource[6], KeptPhotoSource::Broken);
  EXPECT_EQ(back->photoSource[7], KeptPhotoSource::None);
}

// A write that fails at any stage leaves the kept copy before it whole; the
// leftovers of a write cut off by a crash are ignored and cleared.
TEST(KeptPoster, InterruptedWriteLeavesThePreviousCopy) {
  QTemporaryDir dir;
  std::atomic<int> failing{-1};
  KeptPosterStore::Options o = at(dir.path(), "300");
  o.failAt = [&failing](KeptWriteStage s) { return int(s) == failing.load(); };
  const PosterContent first = sampleContent(dir.path(), 0);
  {
    KeptPosterStore store(o);
    store.keep(first, {2, false});
    store.flush();
    ASSERT_EQ(store.writes(), 1);
    for (KeptWriteStage s : {KeptWriteStage::Open, KeptWriteStage::Write, KeptWriteStage::Sync,
                             KeptWriteStage::Rename, KeptWriteStage::SyncFolder}) {
      SCOPED_TRACE(int(s));
      failing = int(s);
      store.keep(sampleContent(dir.path(), 10 + int(s)), {3, false});
      store.flush();
      EXPECT_FALSE(store.lastError().isEmpty());
      EXPECT_FALSE(QFile::exists(dir.path() + "/300.kept.tmp"));
      const std::optional<KeptRecord> kept = readKept(store.path());
      ASSERT_TRUE(kept);
      // Only after the rename is the new copy the kept one.
      EXPECT_EQ(kept->content.paper.shown, s == KeptWriteStage::SyncFolder
                                               ? sampleContent(dir.path(), 14).paper.shown
                                               : first.paper.shown);
    }
    failing = -1;
    store.keep(first, {2, false});
    store.flush();
    ASSERT_TRUE(readKept(store.path()));
    EXPECT_EQ(readKept(store.path())->step, (KeptStep{2, false}));
    // A crash halfway through the next write.
    const QByteArray half = encodeKeptPoster(sampleContent(dir.path(), 7), {3, false});
    ASSERT_TRUE(writeBytes(dir.path() + "/300.kept.tmp", half.left(half.size() / 2)));
  }
  KeptPosterStore next(at(dir.path(), "301"));
  const KeptFindings found = next.findLeftBehind();
  ASSERT_EQ(found.offers.size(), 1u);
  EXPECT_FALSE(found.offers[0].behind);  // the last write went through
  EXPECT_TRUE(found.setAside.isEmpty());
  EXPECT_FALSE(QFile::exists(dir.path() + "/300.kept.tmp"));
  FilePictureLoader loader;
  const std::optional<KeptPoster> back = next.restore(found.offers[0], loader);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->content.paper.shown, first.paper.shown);
}

QByteArray withPayload(QByteArray file, qsizetype at, char value) {
  file[at] = value;
  const QByteArray md5 = QCryptographicHash::hash(file.mid(32), QCryptographicHash::Md5);
  file.replace(16, 16, md5);
  return file;
}

// Files cut short, from a newer version, altered, linked elsewhere or not
// files at all are renamed aside and reported; a good one beside them is
// still offered. Whatever a file holds, what reading accepts is in range.
TEST(KeptPoster, UnreadableFilesAreSetAside) {
  QTemporaryDir dir;
  const QString s = dir.path() + "/state";
  QDir().mkpath(s);
  const QByteArray good = encodeKeptPoster(sampleContent(dir.path()), {3, false});
  ASSERT_TRUE(writeBytes(s + "/101.kept", good.left(good.size() - 1)));
  QByteArray newer = good;
  qToLittleEndian<quint32>(2, newer.data() + 8);
  ASSERT_TRUE(writeBytes(s + "/102.kept", newer));
  ASSERT_TRUE(writeBytes(s + "/103.kept", withPayload(good, 32, 9)));  // step 9
  ASSERT_TRUE(writeBytes(dir.path() + "/elsewhere", good));
  ASSERT_TRUE(QFile::link(dir.path() + "/elsewhere", s + "/104.kept"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(s + "/105.kept").constData(), 0600), 0);
  ASSERT_TRUE(writeBytes(s + "/106.kept", good));
  ASSERT_TRUE(writeBytes(s + "/107.kept", QByteArray(4096, '\xff')));
  // Set aside a month ago and a day short of it: the first goes.
  const auto setAsideAgo = [&s](int days) {
    return s + "/99.kept.bad-" +
           QDateTime::currentDateTime().addDays(-days).toString("yyyyMMdd-hhmmss-zzz");
  };
  ASSERT_TRUE(writeBytes(setAsideAgo(31), good));
  ASSERT_TRUE(writeBytes(setAsideAgo(29), good));

  KeptPosterStore store(at(s, "900"));
  const KeptFindings found = store.findLeftBehind();
  ASSERT_EQ(found.offers.size(), 1u);
  EXPECT_EQ(found.offers[0].owner, "106");
  EXPECT_EQ(found.setAside.size(), 6);
  const QStringList left = QDir(s).entryList({"*.kept"}, QDir::Files | QDir::System);
  EXPECT_EQ(left, QStringList{"106.kept"});
  EXPECT_EQ(QDir(s).entryList({"*.kept.bad-*"}, QDir::Files | QDir::System).size(), 7);
  EXPECT_FALSE(QFile::exists(setAsideAgo(31)));
  EXPECT_EQ(fileBytes(dir.path() + "/elsewhere"), good);  // the link's target untouched
  EXPECT_TRUE(store.findLeftBehind().setAside.isEmpty());

  // Single-byte changes that still pass the checksum, most of them among
  // the photos and words after the paper.
  PosterContent plain = sampleContent(dir.path());
  plain.paper.picture = plain.paper.snapshot = nullptr;
  plain.paper.shown.fill(Qt::white);
  const QByteArray small = encodeKeptPoster(plain, {2, false});
  QRandomGenerator random(19);
  int accepted = 0;
  // Qt says so each time packed pixels do not unpack.
  struct Quiet {
    QtMessageHandler was =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    ~Quiet() { qInstallMessageHandler(was); }
  } quiet;
  for (int n = 0; n < 1000; ++n) {
    const int from = n % 4 ? int(small.size()) - 3000 : 32;
    const qsizetype at = from + qsizetype(random.bounded(int(small.size()) - from));
    const std::optional<KeptRecord> r =
        decodeKeptPoster(withPayload(small, at, char(random.bounded(256))));
    if (!r) continue;
    ++accepted;
    ASSERT_GE(r->step.step, 1);
    ASSERT_LE(r->step.step, 4);
    for (size_t i = 0; i < 10; ++i) {
      for (float v : {r->content.photos[i].left, r->content.photos[i].height,
                      r->content.words[i].top, r->content.words[i].fontSize})
        ASSERT_TRUE(std::isfinite(v) && v >= -32768 && v <= 32767);
      ASSERT_TRUE(r->content.photos[i].file.isEmpty() || r->content.photos[i].file.startsWith('/'));
      ASSERT_TRUE(r->photoSource[i] != KeptPhotoSource::File || r->photoPath[i].startsWith('/'));
      ASSERT_TRUE(r->content.photoStackOrder[i] >= 0 && r->content.photoStackOrder[i] <= 9);
    }
    if (!r->content.paper.shown.isNull()) {
      ASSERT_EQ(r->content.paper.shown.size(), QSize(707, 499));
    }
  }
  EXPECT_GT(accepted, 0);
}

// A state folder that cannot be used gives way to the fallback, whose
// posters a later start offers too; with no folder at all, or once writes
// fail, the store says so, and the copy left is marked as behind the poster.
TEST(KeptPoster, AnotherFolderOrTroubleTold) {
  QTemporaryDir dir;
  const QString blocked = dir.path() + "/a file/pastelboard", cache = dir.path() + "/cache";
  ASSERT_TRUE(writeBytes(dir.path() + "/a file", "not a folder"));
  const PosterContent first = sampleContent(dir.path(), 1), second = sampleContent(dir.path(), 2);
  {
    KeptPosterStore::Options o = at(blocked, "500");
    o.fallbackFolder = dir.path() + "/a file/cache";
    KeptPosterStore none(o);
    EXPECT_FALSE(none.ready());
    EXPECT_EQ(none.trouble(), KeptTrouble::NoFolder);
  }
  KeptPosterStore::Options o = at(blocked, "501");
  o.fallbackFolder = cache;
  std::atomic<bool> failing{false};
  o.failAt = [&failing](KeptWriteStage s) { return failing && s == KeptWriteStage::Write; };
  {
    KeptPosterStore store(o);
    ASSERT_TRUE(store.ready());
    EXPECT_EQ(store.folder(), cache);
    store.keep(first, {2, false});
    store.flush();
    EXPECT_EQ(store.trouble(), KeptTrouble::None);
    failing = true;  // the disk fills
    store.keep(second, {3, false});
    store.flush();
    EXPECT_EQ(store.trouble(), KeptTrouble::WritesFail);
  }
  KeptPosterStore::Options later = at(dir.path() + "/state", "502");
  later.fallbackFolder = cache;
  KeptPosterStore next(later);
  EXPECT_EQ(next.folder(), dir.path() + "/state");
  const KeptFindings found = next.findLeftBehind();
  ASSERT_EQ(found.offers.size(), 1u);
  EXPECT_TRUE(found.offers[0].behind);
  FilePictureLoader loader;
  const std::optional<KeptPoster> back = next.restore(found.offers[0], loader);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->content.paper.shown, first.paper.shown);
  EXPECT_TRUE(QFile::exists(next.path()));
  EXPECT_TRUE(QDir(cache).entryList({"*.kept"}, QDir::Files).isEmpty());
}

// Each running process keeps its own poster; a start offers only those of
// processes that are gone, even when a new process has the old one's id.
TEST(KeptPoster, TwoProcessesKeepApart) {
  QTemporaryDir dir;
  const PosterContent a = sampleContent(dir.path(), 1), b = sampleContent(dir.path(), 2);
  FilePictureLoader loader;
  auto one = std::make_unique<KeptPosterStore>(at(dir.path(), "111"));
  KeptPosterStore two(at(dir.path(), "222"));
  one->keep(a, {1, false});
  two.keep(b, {2, false});
  two.flush();
  // Written without being asked, within moments.
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(one->path()) && waited.elapsed() < 20000) QThread::msleep(20);
  EXPECT_NE(one->path(), two.path());
  EXPECT_EQ(readKept(one->path())->content.paper.shown, a.paper.shown);
  EXPECT_EQ(readKept(two.path())->content.paper.shown, b.paper.shown);
  EXPECT_TRUE(two.findLeftBehind().offers.empty());  // one lives
  one.reset();                                       // one dies

  // Its id comes round again: the newcomer keeps under another name.
  KeptPosterStore again(at(dir.path(), "111"));
  EXPECT_EQ(again.name(), "111-1");
  again.keep(b, {4, true});
  again.flush();
  const KeptFindings found = two.findLeftBehind();
  ASSERT_EQ(found.offers.size(), 1u);
  EXPECT_EQ(found.offers[0].owner, "111");
  // Held by the start that found it: another start does not offer it too.
  EXPECT_TRUE(again.findLeftBehind().offers.empty());
  const std::optional<KeptPoster> back = two.restore(found.offers[0], loader);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->content.paper.shown, a.paper.shown);
  EXPECT_EQ(back->content.paper.snapshot, back->content.paper.picture);
  EXPECT_EQ(back->step, (KeptStep{1, false}));
  EXPECT_EQ(readKept(two.path())->content.paper.shown, a.paper.shown);
  EXPECT_EQ(readKept(again.path())->content.paper.shown, b.paper.shown);

  // A burst of keeps is written once, the latest; a clean end leaves nothing.
  const int before = two.writes();
  for (int i = 0; i < 100; ++i) two.keep(i % 2 ? a : b, {2, false});
  two.flush();
  EXPECT_EQ(two.writes(), before + 1);
  EXPECT_EQ(readKept(two.path())->content.paper.shown, a.paper.shown);
  two.discard();
  again.discard();
  two.keep(b, {2, false});  // too late: the program is ending
  two.flush();
  EXPECT_FALSE(QFile::exists(two.path()));
  KeptPosterStore later(at(dir.path(), "333"));
  EXPECT_TRUE(later.findLeftBehind().offers.empty());
}

}  // namespace
}  // namespace pastel
