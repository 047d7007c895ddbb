#include "platform/heif_picture.h"

#include <libheif/heif.h>

#include <cmath>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/picture_format.h"
#include "platform/picture_size.h"

namespace pastel {

namespace {

// libheif reads through these; the device stays where libheif leaves it.
int64_t readerPosition(void* device) { return static_cast<QIODevice*>(device)->pos(); }

int readerRead(void* data, size_t size, void* device) {
  auto* d = static_cast<QIODevice*>(device);
  return size <= size_t(INT64_MAX) &&
                 d->read(static_cast<char*>(data), qint64(size)) == qint64(size)
             ? 0
             : -1;
}

int readerSeek(int64_t position, void* device) {
  return static_cast<QIODevice*>(device)->seek(position) ? 0 : -1;
}

heif_reader_grow_status readerWait(int64_t size, void* device) {
  return size <= static_cast<QIODevice*>(device)->size() ? heif_reader_grow_status_size_reached
                                                         : heif_reader_grow_status_size_beyond_eof;
}

const heif_reader kReader = {1, readerPosition, readerRead, readerSeek, readerWait};

struct ContextFree {
  void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleFree {
  void operator()(const heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageFree {
  void operator()(const heif_image* i) const { heif_image_release(i); }
};
using Context = std::unique_ptr<heif_context, ContextFree>;
using Handle = std::unique_ptr<heif_image_handle, HandleFree>;
using Image = std::unique_ptr<heif_image, ImageFree>;

// The file's boxes read, with every image limited to kHeifMaxSide.
Context openContext(QIODevice& device) {
  static std::once_flag once;
  std::call_once(once, [] { heif_init(nullptr); });
  if (device.isSequential() || !device.seek(0)) return nullptr;
  Context ctx(heif_context_alloc());
  if (!ctx) return nullptr;
  heif_context_set_maximum_image_size_limit(ctx.get(), kHeifMaxSide + 1);
  // Grid tiles decode on two threads, as many as the machine has cores.
  heif_context_set_max_decoding_threads(ctx.get(), 2);
  if (heif_context_read_from_reader(ctx.get(), &kReader, &device, nullptr).code != heif_error_Ok)
    return nullptr;
  return ctx;
}

Handle primaryOf(heif_context* ctx) {
  heif_image_handle* h = nullptr;
  if (heif_context_get_primary_image_handle(ctx, &h).code != heif_error_Ok) return nullptr;
  return Handle(h);
}

QSize shownSize(const heif_image_handle* h) {
  const QSize size(heif_image_handle_get_width(h), heif_image_handle_get_height(h));
  return pixelSizeAllowed(size.width(), size.height()) ? size : QSize();
}

// The decoding options every picture gets: turned and mirrored as shown,
// deep colour brought to 8 bits, and a damaged stream refused.
using Options = std::unique_ptr<heif_decoding_options, void (*)(heif_decoding_options*)>;
Options decodingOptions() {
  Options options(heif_decoding_options_alloc(), heif_decoding_options_free);
  if (options) {
    options->ignore_transformations = 0;
    options->convert_hdr_to_8bit = 1;
    options->strict_decoding = 1;
  }
  return options;
}

// A picture with alpha, in libheif's own pixels rather than a copy.
QImage decodeWithAlpha(const heif_image_handle* h, QSize size) {
  const Options options = decodingOptions();
  if (!options) return {};
  heif_image* decoded = nullptr;
  const heif_error e = heif_decode_image(h, &decoded, heif_colorspace_RGB,
                                         heif_chroma_interleaved_RGBA, options.get());
  Image image(decoded);
  if (e.code != heif_error_Ok || !image) return {};
  const QSize got(heif_image_get_width(image.get(), heif_channel_interleaved),
                  heif_image_get_height(image.get(), heif_channel_interleaved));
  int stride = 0;
  uint8_t* pixels = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
  if (got != size || !pixels || stride <= 0) return {};
  const QImage::Format format = heif_image_is_premultiplied_alpha(image.get())
                                    ? QImage::Format_RGBA8888_Premultiplied
                                    : QImage::Format_RGBA8888;
  heif_image* owner = image.release();
  return QImage(
      pixels, size.width(), size.height(), stride, format,
      [](void* i) { heif_image_release(static_cast<heif_image*>(i)); }, owner);
}

struct Plane {
  const uint8_t* bits = nullptr;
  int stride = 0, width = 0, height = 0;
};

Plane planeOf(const heif_image* image, heif_channel channel) {
  Plane p;
  p.bits = heif_image_get_plane_readonly(image, channel, &p.stride);
  p.width = heif_image_get_width(image, channel);
  p.height = heif_image_get_height(image, channel);
  return p;
}

// Each pixel of `out` is the mean of the block of the picture it covers: a
// photo comes down to its placed size in one pass, on two threads when it
// is large, without a full-size copy in Qt's order.
void reduceToRgb(const Plane (&rgb)[3], QImage& out) {
  const int w = out.width(), h = out.height(), width = rgb[0].width, height = rgb[0].height;
  std::vector<int> x0(size_t(w) + 1);
  for (int x = 0; x <= w; ++x) x0[size_t(x)] = int(qint64(x) * width / w);
  auto rows = [&](int from, int to) {
    std::vector<unsigned> sums(size_t(w) * 3);
    for (int oy = from; oy < to; ++oy) {
      const int y0 = int(qint64(oy) * height / h), y1 = int(qint64(oy + 1) * height / h);
      std::fill(sums.begin(), sums.end(), 0u);
      for (int c = 0; c < 3; ++c)
        for (int y = y0; y < y1; ++y) {
          const uint8_t* line = rgb[c].bits + qint64(y) * rgb[c].stride;
          for (int ox = 0; ox < w; ++ox)
            for (int x = x0[size_t(ox)]; x < x0[size_t(ox) + 1]; ++x)
              sums[size_t(ox) * 3 + size_t(c)] += line[x];
        }
      auto* line = reinterpret_cast<QRgb*>(out.scanLine(oy));
      for (int ox = 0; ox < w; ++ox) {
        const unsigned n = unsigned(y1 - y0) * unsigned(x0[size_t(ox) + 1] - x0[size_t(ox)]);
        const unsigned* s = &sums[size_t(ox) * 3];
        line[ox] = qRgb(int((s[0] + n / 2) / n), int((s[1] + n / 2) / n), int((s[2] + n / 2) / n));
      }
    }
  };
  if (qint64(width) * height < 1 << 20) return rows(0, h);  // not worth a thread
  std::thread other(rows, h / 2, h);
  rows(0, h / 2);
  other.join();
}

// An opaque picture, brought down by a whole factor towards `target` from
// libheif's RGB planes: it makes those with its grid's tiles, while
// interleaving them would cost it another pass over the whole picture.
QImage decodeOpaque(const heif_image_handle* h, QSize size, QSize target) {
  const Options options = decodingOptions();
  if (!options) return {};
  heif_image* decoded = nullptr;
  const heif_error e =
      heif_decode_image(h, &decoded, heif_colorspace_RGB, heif_chroma_444, options.get());
  const Image image(decoded);
  if (e.code != heif_error_Ok || !image) return {};
  const Plane rgb[3] = {planeOf(image.get(), heif_channel_R), planeOf(image.get(), heif_channel_G),
                        planeOf(image.get(), heif_channel_B)};
  for (int c = 0; c < 3; ++c)
    if (!rgb[c].bits || QSize(rgb[c].width, rgb[c].height) != size ||
        heif_image_get_bits_per_pixel_range(image.get(), heif_channel(heif_channel_R + c)) != 8)
      return {};
  const int factor =
      target.isValid()
          ? std::max(1, std::min(size.width() / target.width(), size.height() / target.height()))
          : 1;
  QImage out(size.width() / factor, size.height() / factor, QImage::Format_RGB32);
  if (out.isNull()) return {};
  reduceToRgb(rgb, out);
  return out;
}

// Decoded as shown (libheif turns and mirrors it), no smaller than
// `target`; null unless every pixel the handle promised came out.
QImage decodeHandle(const heif_image_handle* h, QSize target) {
  const QSize size = shownSize(h);
  if (!size.isValid()) return {};
  return heif_image_handle_has_alpha_channel(h) ? decodeWithAlpha(h, size)
                                                : decodeOpaque(h, size, target);
}

bool sameShape(QSize a, QSize b) {
  const double ratio = double(a.width()) * b.height() / (double(a.height()) * b.width());
  return std::abs(ratio - 1.0) <= 0.02;
}

// The smallest thumbnail that covers `target` with the picture's shape.
Handle thumbnailFor(const heif_image_handle* primary, QSize natural, QSize target) {
  const int n = heif_image_handle_get_number_of_thumbnails(primary);
  if (n <= 0 || n > 16) return nullptr;
  heif_item_id ids[16];
  const int got = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids, n);
  Handle best;
  long long bestPixels = 0;
  for (int i = 0; i < got; ++i) {
    heif_image_handle* t = nullptr;
    if (heif_image_handle_get_thumbnail(primary, ids[i], &t).code != heif_error_Ok) continue;
    Handle thumb(t);
    const QSize size = shownSize(t);
    if (!size.isValid() || size.width() < target.width() || size.height() < target.height() ||
        !sameShape(size, natural))
      continue;
    const long long pixels = 1LL * size.width() * size.height();
    if (!best || pixels < bestPixels) {
      best = std::move(thumb);
      bestPixels = pixels;
    }
  }
  return best;
}

}  // namespace

QSize heifPictureSize(QIODevice& device) {
  const Context ctx = openContext(device);
  const Handle primary = ctx ? primaryOf(ctx.get()) : nullptr;
  return primary ? shownSize(primary.get()) : QSize();
}

HeifDecoded decodeHeif(QIODevice& device, QSize box) {
  HeifDecoded out;
  const Context ctx = openContext(device);
  const Handle primary = ctx ? primaryOf(ctx.get()) : nullptr;
  if (!primary) return out;
  out.natural = shownSize(primary.get());
  if (!out.natural.isValid()) return out;
  const QSize target = fitWithin(out.natural, box);
  if (box.isValid() && target != out.natural)
    if (const Handle thumb = thumbnailFor(primary.get(), out.natural, target))
      out.image = decodeHandle(thumb.get(), target);
  if (out.image.isNull()) out.image = decodeHandle(primary.get(), target);
  return out;
}

}  // namespace pastel
