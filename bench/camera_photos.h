#pragma once
// Ten camera photos for the benchmarks: 4000 x 3000 JPEGs of 2-4 MB at
// 4:2:0, each different, with sensor-like grain so that decoding costs what
// a real photo costs, and a 160 x 120 EXIF thumbnail as cameras write one.
#include <fcntl.h>
#include <libheif/heif.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <cmath>
#include <vector>

#include "picture_writers.h"

namespace pastel::bench {

inline QByteArray jpegBytes(const QImage& img, int quality) {
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, "JPEG", quality);
  return bytes;
}

// Soft shapes that differ from photo to photo, plus grain on every pixel.
inline QImage cameraPicture(int seed) {
  QImage img(4000, 3000, QImage::Format_RGB32);
  quint32 state = 2463534242u + quint32(seed) * 7919u;
  auto grain = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return int(state % 19) - 9;
  };
  const double cx = 1000 + 250 * seed, cy = 800 + 130 * seed, period = 70 + 9 * seed;
  std::vector<int> ring(5001);
  for (size_t d = 0; d < ring.size(); ++d)
    ring[d] = int(std::lround(45 * std::sin(double(d) / period)));
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x) {
      const int r = ring[size_t(std::hypot(x - cx, y - cy))];
      const int g = grain();
      line[x] =
          qRgb(qBound(0, (x + seed * 300) / 22 + r + g, 255),
               qBound(0, y / 15 + 40 + g + (g >> 2), 255), qBound(0, 150 + r - seed * 6 + g, 255));
    }
  }
  return img;
}

// The same picture as a phone writes a HEIC photo: tiles of 512 x 512 in a
// grid, a 320 x 240 thumbnail beside it.
inline QByteArray phoneHeic(int i) {
  return test::heicGridFile(cameraPicture(i), 512, 50, 320, "fast");
}

struct CameraPhotos {
  QStringList names;  // IMG_0000.JPG ...
  QStringList paths;
  QStringList plainPaths;  // the same photos without their thumbnail
  qsizetype bytes = 0;     // the ten files together
};

// Writes the ten photos into `folder` and, when `plainFolder` is given, the
// same photos there with an EXIF block that carries no thumbnail.
// With `heic`, the photos are a phone's HEIC files instead.
inline CameraPhotos writeCameraPhotos(const QString& folder, const QString& plainFolder = {},
                                      bool heic = false) {
  CameraPhotos out;
  auto save = [](const QString& dir, const QString& name, const QByteArray& bytes) {
    QFile f(QDir(dir).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return QString();
    return f.fileName();
  };
  for (int i = 0; heic && i < 10; ++i) {
    const QByteArray file = phoneHeic(i);
    out.names << QStringLiteral("IMG_%1.HEIC").arg(i, 4, 10, QChar('0'));
    out.paths << save(folder, out.names.back(), file);
    out.bytes += file.size();
  }
  for (int i = 0; !heic && i < 10; ++i) {
    const QImage full = cameraPicture(i);
    const QByteArray photo = jpegBytes(full, 90);
    const QByteArray thumb =
        jpegBytes(full.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 85);
    const QByteArray file = test::withExif(photo, test::exifBlock(1, thumb), true);
    out.names << QStringLiteral("IMG_%1.JPG").arg(i, 4, 10, QChar('0'));
    out.paths << save(folder, out.names.back(), file);
    if (!plainFolder.isEmpty())
      out.plainPaths << save(plainFolder, out.names.back(),
                             test::withExif(photo, test::exifBlock(1), true));
    out.bytes += file.size();
  }
  return out;
}

// Drops the files from the page cache, so that the next read comes from the
// disk, as for photos just copied from a camera or after a restart.
inline void dropFromPageCache(const QStringList& paths) {
  for (const QString& path : paths) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) continue;
    ::fdatasync(fd);  // dirty pages are not dropped
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  }
}

}  // namespace pastel::bench
