#pragma once
#include <QString>
#include <array>

#include "storage/poster_db.h"

namespace pastel {

struct Poster;

// Writes the poster into the field buffers the way a save stores it:
// PhotoRecord k and WordRecord k from stack position k, parked records with
// their parked values, backcolor and sgazo. colcode, and ima?F of a photo
// without a file name, keep what the buffers held (the template's row).
// copyNames are the photo copies by PhotoSlot (photoCopyNames).
void fillPosterBuffers(const Poster& p, const QString& posterName,
                       const std::array<QString, 11>& copyNames, FieldBuffers& b);

}  // namespace pastel
