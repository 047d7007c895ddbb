#pragma once
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace pastel {

using FieldBuffers = std::array<QString, 133>;

// What an exchange with a poster database managed. Every step runs even
// when an earlier one failed; failures lists what did not work.
struct ExchangeResult {
  bool opened = false;
  QStringList failures;  // e.g. "textdata: missing tex3F", "imagedata: not stored"
  bool ok() const { return opened && failures.isEmpty(); }
};

// Reads the first row of imagedata and textdata into the buffers, from a
// private copy of the file and its -wal and -journal: nothing is ever
// written beside it. A buffer whose column cannot be read keeps its text.
// A file over kMaxPosterFileBytes is refused.
ExchangeResult readFieldBuffers(const QString& path, FieldBuffers& buffers);
inline constexpr qint64 kMaxPosterFileBytes = 64LL << 20;

// Opens the existing file read-write, reads the row into the buffers, lets
// fill write them, then stores them into that same row of each table.
// fill runs even when the file cannot be used, so the buffers always end up
// as fill leaves them.
ExchangeResult exchangeFieldBuffers(const QString& path, FieldBuffers& buffers,
                                    const std::function<void(FieldBuffers&)>& fill);

}  // namespace pastel
