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

// Opens the file read-only and reads the first row of imagedata and
// textdata into the buffers. A buffer whose column cannot be read keeps
// its text.
ExchangeResult readFieldBuffers(const QString& path, FieldBuffers& buffers);

// Opens the existing file read-write, reads the row into the buffers, lets
// fill write them, then stores them into that same row of each table.
// fill runs even when the file cannot be used, so the buffers always end up
// as fill leaves them.
ExchangeResult exchangeFieldBuffers(const QString& path, FieldBuffers& buffers,
                                    const std::function<void(FieldBuffers&)>& fill);

}  // namespace pastel
