#pragma once
// What the picture fuzzers share: the application, a folder for the files
// they write, the loader, and the checks every decoded picture must pass.
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "platform/file_picture_loader.h"
#include "platform/picture_decoder.h"

namespace pastel::fuzz {

struct PictureFuzzing {
  QTemporaryDir folder;
  FilePictureLoader loader;
};

inline PictureFuzzing& startPictureFuzzing(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  static PictureFuzzing* fuzzing = new PictureFuzzing;
  // The loader keeps strip thumbnails: in the run's folder, not the user's cache.
  qputenv("XDG_CACHE_HOME", fuzzing->folder.filePath(QStringLiteral("cache")).toLocal8Bit());
  return *fuzzing;
}

// Decodes and probes the bytes; a picture that is not one, or larger than
// its box, stops the run.
inline void checkDecoding(QByteArray& bytes, QSize box, const QString& name) {
  const auto p = decodePicture(bytes, box, name);
  if (!p || p->broken != p->image.isNull()) __builtin_trap();
  if (box.isValid() && (p->image.width() > box.width() || p->image.height() > box.height()))
    __builtin_trap();
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  probePictureDevice(buffer);
}

// The bytes as a file of the run's folder; empty when it could not be written.
inline QString writeFuzzFile(PictureFuzzing& f, const QString& name, const QByteArray& bytes) {
  const QString path = f.folder.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    return {};
  return path;
}

}  // namespace pastel::fuzz
