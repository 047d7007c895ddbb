#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace pastel {

// Only pictures wanted this small (a strip cell is 119 x 89) come from a
// photo's embedded thumbnail; a placed photo wants the photo's own detail.
inline constexpr int kEmbeddedThumbnailUseMaxSide = 256;

// A photo's embedded thumbnail decoded at `target`, both sizes as the photo
// is stored (before turning). Null, so the photo itself is decoded, unless
// the target is small and below the photo's size, and the thumbnail is a
// whole JPEG at least the target's size with the photo's shape (within 2 %): one cropped or
// left unturned by an editor shows something else than is placed.
QImage decodeEmbeddedThumbnail(const QByteArray& thumbnail, QSize photoSize, QSize target);

}  // namespace pastel
