#pragma once
#include <QString>
#include <QStringList>

namespace pastel {

inline constexpr int kFieldBufferCount = 133;
inline const QString kImageTable = QStringLiteral("imagedata");
inline const QString kTextTable = QStringLiteral("textdata");
inline const QString kWordListTable = QStringLiteral("所属テーブル");

// The 133 buffers: the paper bitmap's path, five fields for each of ten
// photo records, colcode, eight fields for each of ten word records, and
// the paper's colour code. Record i's field f is its buffer.
inline constexpr int kPaperBitmapBuffer = 0;  // backcolor
inline constexpr int kColcodeBuffer = 51;
inline constexpr int kPaperCodeBuffer = 132;  // sgazo
enum PhotoField { kPhotoLeft, kPhotoTop, kPhotoWidth, kPhotoHeight, kPhotoFile, kPhotoFields };
enum WordField {
  kWordLeft,
  kWordTop,
  kWordWidth,
  kWordHeight,
  kWordFontSize,
  kWordText,
  kWordTextColour,
  kWordFrameColour,
  kWordFields
};
constexpr int photoBuffer(int record, PhotoField f) { return 1 + kPhotoFields * record + f; }
constexpr int wordBuffer(int record, WordField f) { return 52 + kWordFields * record + f; }

// The table and column each field buffer is bound to.
struct FieldColumn {
  QString table;
  QString column;
};
FieldColumn fieldColumn(int buffer);

// Every column of a table in declared order.
QStringList imageColumns();     // backcolor, ima0L .. ima9F, colcode, sgazo
QStringList textColumns();      // tex0L .. tex9B
QStringList wordListColumns();  // moji1 .. moji10

}  // namespace pastel
