#pragma once
#include <QSaveFile>

namespace pastel {

// Qt 6.4's QSaveFile::commit puts the file in place even when writing its
// last buffered bytes failed (a full disk): it is flushed and checked first.
inline bool commitWhole(QSaveFile& file) {
  if (!file.flush()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace pastel
