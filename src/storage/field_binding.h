#pragma once
#include <QString>
#include <QStringList>

namespace pastel {

inline constexpr int kFieldBufferCount = 133;
inline const QString kImageTable = QStringLiteral("imagedata");
inline const QString kTextTable = QStringLiteral("textdata");
inline const QString kWordListTable = QStringLiteral("所属テーブル");

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
