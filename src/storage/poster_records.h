#pragma once
#include <QString>
#include <array>

#include "canvas/poster_content.h"
#include "storage/poster_db.h"

namespace pastel {

// Writes a poster's content into the field buffers the way a save stores
// it: PhotoRecord k and WordRecord k from stack position k, parked records
// with their parked values, backcolor and sgazo. colcode, and ima?F of a
// photo without a file name, keep what the buffers held (the template's
// row). copyNames are the photo copies by PhotoSlot (photoCopyNames).
void fillPosterBuffers(const PosterContent& c, const QString& posterName,
                       const std::array<QString, kSlots + 1>& copyNames, FieldBuffers& b);

// What a poster database's buffers say, over `base`: record i into slot i
// (stack orders 0..9), a value that does not convert keeping the parked
// one, words cut to the longest a file hands over with their height
// following their lines and their codes from their colours, and the paper
// code when it is one. The stored paths are left to the reader: photo
// files and pictures, and the paper's picture, stay as in `base`.
PosterContent posterFromBuffers(const FieldBuffers& b, PosterContent base);

}  // namespace pastel
