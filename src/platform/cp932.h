#pragma once
#include <QByteArray>
#include <QString>

namespace pastel {

// Code page 932 through glibc iconv ("CP932", strict).

// True when the character has a code page 932 form that reads back as the
// same character. 〜 − — ¥ encode but come back as ～ － ― "\".
bool cp932Holds(char32_t c);

// The text in code page 932. A character that has no faithful form there is
// written as a numeric character reference (&#128512;), so nothing is lost
// on a page a browser reads.
QByteArray toCp932WithReferences(const QString& text);

}  // namespace pastel
