// Feeds arbitrary bytes as a kept poster left behind by another program: a
// start finds it, offers it and puts it back, or sets it aside. Nothing may
// crash or hang, what is accepted must be in range, and nothing outside the
// state folder may change. An input whose first byte is even is the payload
// alone, given a good header and checksum, so that mutations reach past it.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstdint>

#include "keeping/kept_poster.h"
#include "platform/picture_decoder.h"
#include "platform/picture_loader.h"

namespace {
QTemporaryDir* folder = nullptr;

// Names each photo it is asked for and gives the broken mark: a kept file
// may name any path, and reading it is the loader's business.
class NamingLoader : public pastel::PictureLoader {
 public:
  pastel::PictureInfo probe(const QString&) override { return {}; }
  pastel::PictureRef load(const QString& path, QSize) override {
    if (!path.startsWith(QLatin1Char('/'))) __builtin_trap();
    return pastel::brokenPicture(path);
  }
};

QByteArray outsideDigest() {
  QFile f(folder->filePath(QStringLiteral("outside.txt")));
  return f.open(QIODevice::ReadOnly)
             ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
             : QByteArray();
}

QByteArray withHeader(const QByteArray& payload) {
  QByteArray file("PASTELKP");
  char n[4];
  qToLittleEndian<quint32>(pastel::kKeptFileVersion, n);
  file.append(n, 4);
  qToLittleEndian<quint32>(quint32(payload.size()), n);
  file.append(n, 4);
  file += QCryptographicHash::hash(payload, QCryptographicHash::Md5) + payload;
  return file;
}

void checkInRange(const pastel::KeptRecord& r) {
  if (r.step.step < 1 || r.step.step > 4) __builtin_trap();
  for (size_t i = 0; i < 10; ++i) {
    for (float v : {r.content.photos[i].left, r.content.photos[i].top, r.content.photos[i].width,
                    r.content.photos[i].height, r.content.words[i].left, r.content.words[i].top,
                    r.content.words[i].width, r.content.words[i].height})
      if (!std::isfinite(v) || v < -32768 || v > 32767) __builtin_trap();
    if (r.content.photoStackOrder[i] < 0 || r.content.photoStackOrder[i] > 9) __builtin_trap();
    if (r.content.wordStackOrder[i] < 0 || r.content.wordStackOrder[i] > 9) __builtin_trap();
  }
  if (!r.content.paper.shown.isNull() && r.content.paper.shown.size() != QSize(707, 499))
    __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  folder = new QTemporaryDir;
  QDir().mkpath(folder->filePath(QStringLiteral("state")));
  QFile outside(folder->filePath(QStringLiteral("outside.txt")));
  if (outside.open(QIODevice::WriteOnly)) outside.write("a teacher's file\n");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const QByteArray input =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  const QByteArray file = data[0] % 2 ? input : withHeader(input);
  const QByteArray outside = outsideDigest();

  if (std::optional<pastel::KeptRecord> r = pastel::decodeKeptPoster(file)) {
    checkInRange(*r);
    // What was read is written again as it came: reading it back gives it.
    if (!pastel::decodeKeptPoster(pastel::encodeKeptPoster(r->content, r->step))) __builtin_trap();
  }

  const QString state = folder->filePath(QStringLiteral("state"));
  QDir(state).removeRecursively();
  QDir().mkpath(state);
  QFile kept(state + QStringLiteral("/4242.kept"));
  if (!kept.open(QIODevice::WriteOnly)) return 0;
  kept.write(file);
  kept.close();
  {
    pastel::KeptPosterStore::Options o;
    o.folder = state;
    o.name = QStringLiteral("1");
    pastel::KeptPosterStore store(o);
    NamingLoader loader;
    for (const pastel::KeptOffer& offer : store.findLeftBehind().offers)
      if (std::optional<pastel::KeptPoster> back = store.restore(offer, loader))
        if (back->step.step < 1 || back->step.step > 4) __builtin_trap();
  }
  if (outsideDigest() != outside) __builtin_trap();
  return 0;
}
