#include "platform/wmf_picture.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>

#include "platform/bmp_rle_decoder.h"
#include "platform/picture_format.h"
#include "platform/picture_size.h"

namespace pastel {

namespace {

// libwmf and its bundled gd keep font caches and other state we cannot
// vouch for across threads: one file at a time.
std::mutex& wmfMutex() {
  static std::mutex m;
  return m;
}

// Every allocation carries its size in front so the budget can be kept.
struct Budget {
  size_t used = 0;
  size_t limit = kWmfMemoryBudget;
  // libwmf skips a bitmap it could not allocate and carries on: a file that
  // went over the budget is broken even when libwmf says all is well.
  bool refused = false;
};
constexpr size_t kHead = alignof(std::max_align_t);

void* budgetMalloc(void* ctx, size_t size) {
  auto* b = static_cast<Budget*>(ctx);
  if (size > b->limit - b->used) {
    b->refused = true;
    return nullptr;
  }
  auto* p = static_cast<unsigned char*>(std::malloc(size + kHead));
  if (!p) return nullptr;
  std::memcpy(p, &size, sizeof size);
  b->used += size;
  return p + kHead;
}

void budgetFree(void* ctx, void* mem) {
  if (!mem) return;
  auto* p = static_cast<unsigned char*>(mem) - kHead;
  size_t size;
  std::memcpy(&size, p, sizeof size);
  static_cast<Budget*>(ctx)->used -= size;
  std::free(p);
}

void* budgetRealloc(void* ctx, void* mem, size_t size) {
  if (!mem) return budgetMalloc(ctx, size);
  auto* b = static_cast<Budget*>(ctx);
  auto* p = static_cast<unsigned char*>(mem) - kHead;
  size_t old;
  std::memcpy(&old, p, sizeof old);
  if (size > old && size - old > b->limit - b->used) {
    b->refused = true;
    return nullptr;
  }
  auto* q = static_cast<unsigned char*>(std::realloc(p, size + kHead));
  if (!q) return nullptr;
  std::memcpy(q, &size, sizeof size);
  b->used = b->used - old + size;
  return q + kHead;
}

unsigned u8(const QByteArray& b, int i) { return static_cast<unsigned char>(b[i]); }
unsigned le16(const QByteArray& b, int i) { return u8(b, i) | u8(b, i + 1) << 8; }
int s16(const QByteArray& b, int i) { return int(qint16(le16(b, i))); }

struct Placeable {
  bool present = false;
  bool sane = false;
  int width = 0, height = 0, inch = 0;
};

Placeable readPlaceable(const QByteArray& f) {
  Placeable p;
  if (f.size() < 4 || (le16(f, 0) | le16(f, 2) << 16) != 0x9AC6CDD7u) return p;
  p.present = true;
  if (f.size() < 22) return p;
  p.width = std::abs(s16(f, 10) - s16(f, 6));
  p.height = std::abs(s16(f, 12) - s16(f, 8));
  p.inch = int(le16(f, 14));
  // libwmf keeps the extent in 16 bits and divides by the inch value.
  p.sane = p.inch > 0 && p.width > 0 && p.height > 0 && p.width <= 32767 && p.height <= 32767;
  return p;
}

void set32(QByteArray& b, qsizetype i, quint32 v) {
  for (int k = 0; k < 4; ++k) b[i + k] = char((v >> (8 * k)) & 255);
}
quint32 le32(const QByteArray& b, qsizetype i) {
  return le16(b, int(i)) | quint32(le16(b, int(i) + 2)) << 16;
}

// Where a record's bitmap starts, 0 for records without one.
int dibOffset(unsigned function, quint32 words) {
  switch (function) {
    case 0x0940:  // DibBitBlt; 12 words when it carries no bitmap
      return words > 12 ? 22 : 0;
    case 0x0B41:  // DibStretchBlt; 14 words without
      return words > 14 ? 26 : 0;
    case 0x0F43:  // StretchDib
      return 28;
    case 0x0D33:  // SetDibToDev
      return 24;
    case 0x0142:  // DibCreatePatternBrush
      return 10;
    default:
      return 0;
  }
}

// The record's bitmap as an uncompressed 24-bit DIB; empty when it cannot be
// decoded, nullopt when it is larger than libwmf's budget could ever hold.
std::optional<QByteArray> uncompressedDib(const QByteArray& dib) {
  const quint32 info = le32(dib, 0);
  const qint64 w = qint32(le32(dib, 4)), h = qint32(le32(dib, 8));
  if (!pixelSizeAllowed(w, std::abs(h)) || w * std::abs(h) * 4 > qint64(kWmfMemoryBudget / 2))
    return std::nullopt;
  const unsigned bits = le16(dib, 14);
  const quint32 used = dib.size() >= 36 ? le32(dib, 32) : 0;
  const quint32 colours = bits <= 8 ? (used && used < (1u << bits) ? used : 1u << bits) : 0;
  QByteArray bmp("BM");
  for (quint32 v : {quint32(14 + dib.size()), 0u, quint32(14 + info + 4 * colours)})
    bmp.append(char(v & 255))
        .append(char(v >> 8 & 255))
        .append(char(v >> 16 & 255))
        .append(char(v >> 24));
  const QImage img = decodeBmp(bmp + dib);
  if (img.isNull()) return QByteArray();
  const qsizetype stride = (qsizetype(img.width()) * 3 + 3) & ~qsizetype(3);
  QByteArray out(40 + stride * img.height(), '\0');
  set32(out, 0, 40);
  set32(out, 4, quint32(img.width()));
  set32(out, 8, quint32(img.height()));
  out[12] = 1;
  out[14] = 24;
  set32(out, 20, quint32(stride * img.height()));
  for (int y = 0; y < img.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(img.constScanLine(img.height() - 1 - y));
    char* row = out.data() + 40 + stride * y;
    for (int x = 0; x < img.width(); ++x) {
      row[3 * x] = char(qBlue(in[x]));
      row[3 * x + 1] = char(qGreen(in[x]));
      row[3 * x + 2] = char(qRed(in[x]));
    }
  }
  return out;
}

// libwmf draws the RLE bitmaps a metafile carries as garbage and reads memory
// it never wrote while at it: each goes to libwmf decoded by our own reader,
// and one that cannot be decoded is left out (a pattern brush, which later
// records count on, becomes white). nullopt when the file must be refused.
std::optional<QByteArray> withRleBitmapsDecoded(const QByteArray& f) {
  const qsizetype start = readPlaceable(f).present ? 22 : 0;
  if (f.size() < start + 18 || le16(f, int(start) + 2) != 9) return f;  // libwmf judges
  QByteArray out = f.left(start + 18);
  quint32 maxRecord = le32(f, start + 12);
  bool changed = false;
  qsizetype pos = start + 18;
  while (pos + 6 <= f.size()) {
    const quint32 words = le32(f, pos);
    const unsigned function = le16(f, int(pos) + 4);
    if (words < 3 || qint64(words) * 2 > f.size() - pos) break;
    QByteArray record = f.mid(pos, qsizetype(words) * 2);
    pos += record.size();
    const int at = dibOffset(function, words);
    if (at > 0 && record.size() >= at + 40 && le32(record, at) >= 40 &&
        (le32(record, at + 16) == 1 || le32(record, at + 16) == 2)) {
      changed = true;
      // Palette indices instead of colours are not ours to decode.
      const bool paletteIndices = (function == 0x0F43 && le16(record, 10) != 0) ||
                                  (function == 0x0D33 && le16(record, 6) != 0) ||
                                  (function == 0x0142 && le16(record, 8) != 0);
      std::optional<QByteArray> dib =
          paletteIndices ? QByteArray() : uncompressedDib(record.mid(at));
      if (!dib) return std::nullopt;
      if (dib->isEmpty()) {
        if (function != 0x0142) continue;
        dib = QByteArray(40 + 4, '\0');
        set32(*dib, 0, 40);
        set32(*dib, 4, 1);
        set32(*dib, 8, 1);
        (*dib)[12] = 1;
        (*dib)[14] = 24;
        (*dib)[40] = (*dib)[41] = (*dib)[42] = char(255);
      }
      record = record.left(at) + *dib;
      set32(record, 0, quint32(record.size() / 2));
      maxRecord = std::max(maxRecord, quint32(record.size() / 2));
    }
    out += record;
    if (function == 0) break;
  }
  if (!changed) return f;
  out += f.mid(pos);
  set32(out, start + 6, quint32((out.size() - start) / 2));
  set32(out, start + 12, maxRecord);
  return out;
}

int toHiMetric(double units, double perInch) {
  const double v = std::round(units * 2540.0 / perInch);
  return v < 1 ? 1 : v > 1e9 ? 1000000000 : int(v);
}

// One libwmf instance with the gd device and a memory budget.
class WmfSession {
 public:
  explicit WmfSession(const QByteArray& file) : bytes_(file) {
    bytes_.detach();  // libwmf wants a writable buffer
    wmfAPI_Options opts;
    std::memset(&opts, 0, sizeof opts);
    opts.context = &budget_;
    opts.malloc = budgetMalloc;
    opts.realloc = budgetRealloc;
    opts.free = budgetFree;
    opts.function = wmf_gd_function;
    const unsigned long flags = WMF_OPT_ALLOC | WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL |
                                WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api_, flags, &opts) != wmf_E_None) {
      api_ = nullptr;
      return;
    }
    if (wmf_mem_open(api_, reinterpret_cast<unsigned char*>(bytes_.data()), long(bytes_.size())) !=
            wmf_E_None ||
        wmf_scan(api_, 0, &bbox_) != wmf_E_None)
      return;
    const float w = bbox_.BR.x - bbox_.TL.x, h = bbox_.BR.y - bbox_.TL.y;
    scanned_ = std::isfinite(w) && std::isfinite(h) && w > 0 && h > 0;
  }
  ~WmfSession() {
    if (api_) wmf_api_destroy(api_);
  }
  WmfSession(const WmfSession&) = delete;
  WmfSession& operator=(const WmfSession&) = delete;

  bool ok() const { return api_ && scanned_ && api_->err == wmf_E_None && !budget_.refused; }

  // Size at the given resolution as libwmf estimates it.
  bool displaySize(double dpi, unsigned& w, unsigned& h) {
    return wmf_display_size(api_, &w, &h, dpi, dpi) == wmf_E_None && w > 0 && h > 0;
  }

  QImage render(QSize size) {
    auto* dd = WMF_GD_GetData(api_);
    if (!(dd->flags & WMF_GD_SUPPORTS_PNG)) return {};
    dd->type = wmf_gd_png;
    dd->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    dd->sink.context = &png_;
    dd->sink.function = [](void* ctx, char* buf, int len) {
      if (len > 0) static_cast<QByteArray*>(ctx)->append(buf, len);
      return len;
    };
    dd->bbox = bbox_;
    dd->width = unsigned(size.width());
    dd->height = unsigned(size.height());
    if (wmf_play(api_, 0, &bbox_) != wmf_E_None || budget_.refused) return {};
    QImage img;
    if (!img.loadFromData(png_, "PNG")) return {};
    return img.convertToFormat(QImage::Format_RGB32);
  }

 private:
  QByteArray bytes_;
  Budget budget_;
  wmfAPI* api_ = nullptr;
  wmfD_Rect bbox_{};
  bool scanned_ = false;
  QByteArray png_;
};

WmfSize sizeOf(const Placeable& p, WmfSession& session) {
  WmfSize s;
  if (p.present) {
    s.widthHiMetric = toHiMetric(p.width, p.inch);
    s.heightHiMetric = toHiMetric(p.height, p.inch);
    s.ok = true;
    return s;
  }
  unsigned w = 0, h = 0;
  if (!session.ok() || !session.displaySize(2540, w, h)) return s;
  s.widthHiMetric = int(qMin(w, 1000000000u));
  s.heightHiMetric = int(qMin(h, 1000000000u));
  s.ok = true;
  return s;
}

}  // namespace

WmfSize wmfNaturalSize(const QByteArray& file) {
  const Placeable p = readPlaceable(file);
  if (p.present) {
    if (!p.sane) return {};
    WmfSize s;
    s.widthHiMetric = toHiMetric(p.width, p.inch);
    s.heightHiMetric = toHiMetric(p.height, p.inch);
    s.ok = true;
    return s;
  }
  std::lock_guard<std::mutex> lock(wmfMutex());
  WmfSession session(file);
  return sizeOf(p, session);
}

QImage renderWmf(const QByteArray& original, QSize box, WmfSize* natural) {
  if (natural) *natural = {};
  const Placeable p = readPlaceable(original);
  if (p.present && !p.sane) return {};
  const std::optional<QByteArray> file = withRleBitmapsDecoded(original);
  if (!file) return {};
  std::lock_guard<std::mutex> lock(wmfMutex());
  WmfSession session(*file);
  if (!session.ok()) return {};
  const WmfSize size = sizeOf(p, session);
  if (!size.ok) return {};
  unsigned w = 0, h = 0;
  session.displaySize(96, w, h);
  const QSize pixels(int(qBound(1u, w, 1u << 30)), int(qBound(1u, h, 1u << 30)));
  QSize target = fitWithin(pixels, box);
  target = fitWithin(target, QSize(kWmfMaxRenderSide, kWmfMaxRenderSide));
  QImage img = session.render(target);
  if (!img.isNull() && natural) *natural = size;
  return img;
}

}  // namespace pastel
