#include "keeping/kept_poster_file.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QStringDecoder>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#include "form/main_form.h"

namespace pastel {

namespace {

// Magic, version, payload length, MD5 of the payload, then the payload.
constexpr char kMagic[8] = {'P', 'A', 'S', 'T', 'E', 'L', 'K', 'P'};
constexpr int kHeaderBytes = 8 + 4 + 4 + 16;

constexpr int kMaxPathBytes = 4096;
constexpr int kMaxWordTextBytes = 64 * 1024;
constexpr int kMaxCodeBytes = 256;
constexpr float kTwipsMin = -32768, kTwipsMax = 32767;
constexpr float kFontSizeMax = 1000;
constexpr int kMaxHiMetric = 1 << 30;

// Pixel formats kept as they are; any other is widened to ARGB32 first.
int formatCode(QImage::Format f) {
  switch (f) {
    case QImage::Format_RGB32:
      return 1;
    case QImage::Format_ARGB32:
      return 2;
    case QImage::Format_ARGB32_Premultiplied:
      return 3;
    default:
      return 0;
  }
}
std::optional<QImage::Format> formatOf(int code) {
  switch (code) {
    case 1:
      return QImage::Format_RGB32;
    case 2:
      return QImage::Format_ARGB32;
    case 3:
      return QImage::Format_ARGB32_Premultiplied;
    default:
      return std::nullopt;
  }
}

class Out {
 public:
  QByteArray bytes;
  template <class T>
  void put(T v) {
    T le = qToLittleEndian(v);
    bytes.append(reinterpret_cast<const char*>(&le), sizeof le);
  }
  void putFloat(float v, float lo, float hi) {
    if (!std::isfinite(v)) v = 0;
    v = std::clamp(v, lo, hi);
    std::uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    put<std::uint32_t>(u);
  }
  void putString(const QString& s, int maxBytes) {
    QByteArray u = s.toUtf8();
    if (u.size() > maxBytes) {
      // Whole characters only: reading refuses a text that is not UTF-8.
      u.truncate(maxBytes);
      qsizetype k = u.size();
      while (k > 0 && (uchar(u[k - 1]) & 0xC0) == 0x80) --k;
      if (k > 0 && uchar(u[k - 1]) >= 0xC0) {
        const uchar lead = uchar(u[k - 1]);
        const qsizetype len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (k - 1 + len > u.size()) u.truncate(k - 1);
      }
    }
    put<std::uint32_t>(std::uint32_t(u.size()));
    bytes.append(u);
  }
  void putPath(const QString& s) {
    putString(s.isEmpty() || s.startsWith(QLatin1Char('/')) ? s : QFileInfo(s).absoluteFilePath(),
              kMaxPathBytes);
  }
};

class In {
 public:
  In(const char* data, qsizetype size) : p_(data), end_(data + size) {}
  bool failed() const { return !error.isEmpty(); }
  QString error;

  void fail(const QString& why) {
    if (error.isEmpty()) error = why;
  }
  template <class T>
  T get() {
    T v{};
    if (failed() || end_ - p_ < qsizetype(sizeof v)) {
      fail(QStringLiteral("cut short"));
      return T{};
    }
    std::memcpy(&v, p_, sizeof v);
    p_ += sizeof v;
    return qFromLittleEndian(v);
  }
  float getFloat(float lo, float hi) {
    const std::uint32_t u = get<std::uint32_t>();
    float v;
    std::memcpy(&v, &u, sizeof v);
    if (!std::isfinite(v) || v < lo || v > hi) fail(QStringLiteral("a number out of range"));
    return failed() ? 0 : v;
  }
  QByteArray getBytes(qsizetype n) {
    if (failed() || n < 0 || end_ - p_ < n) {
      fail(QStringLiteral("cut short"));
      return {};
    }
    QByteArray b(p_, n);
    p_ += n;
    return b;
  }
  QString getString(int maxBytes) {
    const std::uint32_t n = get<std::uint32_t>();
    if (n > std::uint32_t(maxBytes)) fail(QStringLiteral("a text too long"));
    const QByteArray u = getBytes(failed() ? 0 : qsizetype(n));
    if (failed()) return {};
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = decode(u);
    if (decode.hasError() || s.contains(QChar(0))) fail(QStringLiteral("a text that is not UTF-8"));
    return failed() ? QString() : s;
  }
  QString getPath(bool required) {
    QString s = getString(kMaxPathBytes);
    if (failed()) return {};
    if (s.isEmpty() ? required : !s.startsWith(QLatin1Char('/')))
      fail(QStringLiteral("a path that is not absolute"));
    return failed() ? QString() : s;
  }
  bool atEnd() const { return p_ == end_; }

 private:
  const char* p_;
  const char* end_;
};

// The distinct images of the paper, each written once: a grab and the
// picture made from it hold the same pixels.
struct ImageTable {
  std::vector<QImage> images;
  int indexOf(const QImage& img) {
    if (img.isNull()) return -1;
    for (size_t i = 0; i < images.size(); ++i)
      if (images[i].cacheKey() == img.cacheKey() || images[i] == img) return int(i);
    images.push_back(formatCode(img.format()) ? img : img.convertToFormat(QImage::Format_ARGB32));
    return int(images.size()) - 1;
  }
};

void putImage(Out& out, const QImage& img) {
  out.put<std::uint16_t>(std::uint16_t(img.width()));
  out.put<std::uint16_t>(std::uint16_t(img.height()));
  out.put<std::uint8_t>(std::uint8_t(formatCode(img.format())));
  // Four bytes a pixel: the lines lie one after the other without padding.
  const QByteArray packed = qCompress(img.constBits(), int(img.sizeInBytes()), 1);
  out.put<std::uint32_t>(std::uint32_t(packed.size()));
  out.bytes.append(packed);
}

QImage getImage(In& in) {
  const int w = in.get<std::uint16_t>(), h = in.get<std::uint16_t>();
  const std::optional<QImage::Format> format = formatOf(in.get<std::uint8_t>());
  const std::uint32_t packedSize = in.get<std::uint32_t>();
  if (in.failed()) return {};
  if (!format || w < 1 || h < 1 || w > kMaxKeptImageSide || h > kMaxKeptImageSide ||
      qint64(w) * h > kMaxKeptImagePixels) {
    in.fail(QStringLiteral("a paper picture out of bounds"));
    return {};
  }
  const QByteArray packed = in.getBytes(qsizetype(packedSize));
  if (in.failed()) return {};
  // qUncompress trusts the size its first four bytes give: check it first.
  const qint64 raw = qint64(w) * h * 4;
  if (packed.size() < 4 || qFromBigEndian<quint32>(packed.constData()) != quint32(raw)) {
    in.fail(QStringLiteral("a paper picture of the wrong size"));
    return {};
  }
  const QByteArray pixels = qUncompress(packed);
  if (pixels.size() != raw) {
    in.fail(QStringLiteral("a paper picture that cannot be unpacked"));
    return {};
  }
  QImage img(w, h, *format);
  if (img.isNull() || img.sizeInBytes() != raw) {
    in.fail(QStringLiteral("a paper picture out of bounds"));
    return {};
  }
  std::memcpy(img.bits(), pixels.constData(), size_t(raw));
  return img;
}

enum PictureKind : std::uint8_t { kNoPicture = 0, kOwnPicture = 1, kSameAsPaperPicture = 2 };

void putPicture(Out& out, ImageTable& t, const PictureRef& pic) {
  out.put<std::uint8_t>(pic ? kOwnPicture : kNoPicture);
  if (!pic) return;
  out.put<std::int8_t>(std::int8_t(t.indexOf(pic->image)));
  out.put<std::int32_t>(std::clamp(pic->widthHiMetric, 0, kMaxHiMetric));
  out.put<std::int32_t>(std::clamp(pic->heightHiMetric, 0, kMaxHiMetric));
  out.put<std::uint8_t>(pic->broken ? 1 : 0);
  out.putPath(pic->path);
}

PictureRef getPicture(In& in, const std::vector<QImage>& images, std::uint8_t kind) {
  if (kind == kNoPicture) return nullptr;
  if (kind != kOwnPicture) {
    in.fail(QStringLiteral("a paper picture out of range"));
    return nullptr;
  }
  auto pic = std::make_shared<Picture>();
  const int index = in.get<std::int8_t>();
  pic->widthHiMetric = in.get<std::int32_t>();
  pic->heightHiMetric = in.get<std::int32_t>();
  const std::uint8_t broken = in.get<std::uint8_t>();
  pic->path = in.getPath(false);
  if (in.failed()) return nullptr;
  if (index < -1 || index >= int(images.size()) || broken > 1 || pic->widthHiMetric < 0 ||
      pic->heightHiMetric < 0 || pic->widthHiMetric > kMaxHiMetric ||
      pic->heightHiMetric > kMaxHiMetric) {
    in.fail(QStringLiteral("a paper picture out of range"));
    return nullptr;
  }
  if (index >= 0) pic->image = images[size_t(index)];
  pic->broken = broken == 1;
  return pic;
}

KeptPhotoSource sourceOf(const PictureRef& picture, const QString& file, QString* path) {
  if (!picture) return KeptPhotoSource::None;
  *path = picture->path.isEmpty() ? file : picture->path;
  if (picture->broken || path->isEmpty()) return KeptPhotoSource::Broken;
  return KeptPhotoSource::File;
}

// Only a kind with a picture names the file it comes from; taking the
// picture makes the name depend on the field, so other kinds never ask.
template <class K, class Field>
const QString& pictureFileOf(const typename K::Content& c, const Field&) {
  return c.*K::kPictureFile;
}

// A slot's fields in its kind's order.
template <class K>
void putSlot(Out& out, const typename K::Content& c) {
  K::eachField([&](auto m, Kept kept, Counts) {
    const auto& v = c.*m;
    using T = std::decay_t<decltype(v)>;
    if constexpr (std::is_same_v<T, QString>) {
      if (kept == Kept::Path)
        out.putPath(v);
      else
        out.putString(v, kept == Kept::Text ? kMaxWordTextBytes : kMaxCodeBytes);
    } else if constexpr (std::is_same_v<T, float>) {
      if (kept == Kept::FontSize)
        out.putFloat(v, 0, kFontSizeMax);
      else
        out.putFloat(v, kTwipsMin, kTwipsMax);
    } else if constexpr (std::is_same_v<T, PictureRef>) {
      QString path;
      out.put<std::uint8_t>(std::uint8_t(sourceOf(v, pictureFileOf<K>(c, v), &path)));
      out.putPath(path);
    } else {
      out.put<T>(v);  // a colour, a flag
    }
  });
}

// Pictures come back from files later: where from goes in the record.
template <class K>
void getSlot(In& in, KeptRecord& r, size_t i, typename K::Content& c) {
  const QString outOfRange = QStringLiteral("a %1 out of range").arg(QLatin1String(K::kName));
  K::eachField([&](auto m, Kept kept, Counts) {
    auto& v = c.*m;
    using T = std::decay_t<decltype(v)>;
    if constexpr (std::is_same_v<T, QString>) {
      if (kept == Kept::Path)
        v = in.getPath(false);
      else
        v = in.getString(kept == Kept::Text ? kMaxWordTextBytes : kMaxCodeBytes);
    } else if constexpr (std::is_same_v<T, float>) {
      v = kept == Kept::FontSize ? in.getFloat(0, kFontSizeMax) : in.getFloat(kTwipsMin, kTwipsMax);
    } else if constexpr (std::is_same_v<T, PictureRef>) {
      static_assert(std::is_same_v<K, PhotoKind> && std::is_same_v<T, PictureRef>,
                    "the record says where photos come back from");
      const std::uint8_t source = in.get<std::uint8_t>();
      if (source > std::uint8_t(KeptPhotoSource::Broken)) in.fail(outOfRange);
      r.photoSource[i] = KeptPhotoSource(source);
      r.photoPath[i] = in.getPath(r.photoSource[i] == KeptPhotoSource::File);
    } else {
      v = in.get<T>();
      if (kept == Kept::Flag && (v < 0 || v > 1)) in.fail(outOfRange);
    }
  });
}

// A kind newer than the file: its slots off the paper, as a fresh window
// has them.
template <class K>
void startKind(PosterContent& c) {
  const MainForm fresh;
  typename K::State state;
  state.setStartValues();
  for (size_t i = 0; i < kSlots; ++i) {
    (c.*K::kContents)[i] = K::take((fresh.*K::kSlotsOf)[i], state, i);
    (c.*K::kContentOrder)[i] = (state.*K::kStateOrder)[i];
  }
}

void putPayload(Out& out, const PosterContent& c, KeptStep step) {
  out.put<std::uint8_t>(std::uint8_t(step.step));
  out.put<std::uint8_t>(step.opened ? 1 : 0);
  out.putString(c.paperColourCode, kMaxCodeBytes);
  out.put<std::uint32_t>(c.paper.colour);

  ImageTable t;
  const int shown = t.indexOf(c.paper.shown);
  if (c.paper.picture) t.indexOf(c.paper.picture->image);
  if (c.paper.snapshot) t.indexOf(c.paper.snapshot->image);
  out.put<std::uint8_t>(std::uint8_t(t.images.size()));
  for (const QImage& img : t.images) putImage(out, img);
  out.put<std::int8_t>(std::int8_t(shown));
  putPicture(out, t, c.paper.picture);
  if (c.paper.snapshot && c.paper.snapshot == c.paper.picture)
    out.put<std::uint8_t>(kSameAsPaperPicture);
  else
    putPicture(out, t, c.paper.snapshot);

  forEachKind([&](auto k) {
    for (const auto& slot : c.*decltype(k)::kContents) putSlot<decltype(k)>(out, slot);
  });
  forEachKind([&](auto k) {
    for (std::int16_t n : c.*decltype(k)::kContentOrder) out.put<std::int16_t>(n);
  });
}

void getPayload(In& in, KeptRecord& r, int version) {
  PosterContent& c = r.content;
  r.step.step = in.get<std::uint8_t>();
  const std::uint8_t opened = in.get<std::uint8_t>();
  if (r.step.step < 1 || r.step.step > 4 || opened > 1 || (opened && r.step.step != 4))
    in.fail(QStringLiteral("a step out of range"));
  r.step.opened = opened == 1;
  c.paperColourCode = in.getString(kMaxCodeBytes);
  c.paper.colour = in.get<std::uint32_t>();

  const int imageCount = in.get<std::uint8_t>();
  if (imageCount > 3) in.fail(QStringLiteral("too many paper pictures"));
  std::vector<QImage> images;
  for (int i = 0; i < imageCount && !in.failed(); ++i) images.push_back(getImage(in));
  const int shown = in.get<std::int8_t>();
  if (shown < -1 || shown >= int(images.size())) in.fail(QStringLiteral("a paper out of range"));
  if (in.failed()) return;
  if (shown >= 0) {
    c.paper.shown = images[size_t(shown)];
    if (c.paper.shown.size() != QSize(PaperSurface::kWidthPx, PaperSurface::kHeightPx))
      in.fail(QStringLiteral("a paper of the wrong size"));
  }
  c.paper.picture = getPicture(in, images, in.get<std::uint8_t>());
  const std::uint8_t snapshotKind = in.get<std::uint8_t>();
  c.paper.snapshot =
      snapshotKind == kSameAsPaperPicture ? c.paper.picture : getPicture(in, images, snapshotKind);

  forEachKind([&](auto k) {
    using K = decltype(k);
    if (K::kKeptSince > version) return startKind<K>(c);
    for (size_t i = 0; i < kSlots && !in.failed(); ++i) getSlot<K>(in, r, i, (c.*K::kContents)[i]);
  });
  forEachKind([&](auto k) {
    if (decltype(k)::kKeptSince > version) return;
    for (std::int16_t& n : c.*decltype(k)::kContentOrder) {
      n = in.get<std::int16_t>();
      if (n < 0 || n >= kSlots) in.fail(QStringLiteral("a stack order out of range"));
    }
  });
}

}  // namespace

QByteArray encodeKeptPoster(const PosterContent& c, KeptStep step) {
  Out payload;
  putPayload(payload, c, step);
  Out out;
  out.bytes.reserve(kHeaderBytes + payload.bytes.size());
  out.bytes.append(kMagic, sizeof kMagic);
  out.put<std::uint32_t>(kKeptFileVersion);
  out.put<std::uint32_t>(std::uint32_t(payload.bytes.size()));
  out.bytes.append(QCryptographicHash::hash(payload.bytes, QCryptographicHash::Md5));
  out.bytes.append(payload.bytes);
  return out.bytes;
}

std::optional<KeptRecord> decodeKeptPoster(const QByteArray& bytes, QString* error) {
  auto refuse = [error](const QString& why) -> std::optional<KeptRecord> {
    if (error) *error = why;
    return std::nullopt;
  };
  if (bytes.size() > kMaxKeptFileBytes) return refuse(QStringLiteral("too large"));
  if (bytes.size() < kHeaderBytes || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
    return refuse(QStringLiteral("not a kept poster"));
  In header(bytes.constData() + sizeof kMagic, kHeaderBytes - qsizetype(sizeof kMagic));
  const std::uint32_t version = header.get<std::uint32_t>();
  const std::uint32_t length = header.get<std::uint32_t>();
  if (version > std::uint32_t(kKeptFileVersion))
    return refuse(QStringLiteral("from a newer version (%1)").arg(version));
  if (version < 1) return refuse(QStringLiteral("not a kept poster"));
  if (qint64(length) != bytes.size() - kHeaderBytes) return refuse(QStringLiteral("cut short"));
  const QByteArrayView payload(bytes.constData() + kHeaderBytes, length);
  if (QCryptographicHash::hash(payload, QCryptographicHash::Md5) !=
      bytes.mid(kHeaderBytes - 16, 16))
    return refuse(QStringLiteral("damaged"));

  KeptRecord r;
  In in(payload.data(), payload.size());
  getPayload(in, r, int(version));
  if (!in.failed() && !in.atEnd()) in.fail(QStringLiteral("trailing bytes"));
  if (in.failed()) return refuse(in.error);
  return r;
}

}  // namespace pastel
