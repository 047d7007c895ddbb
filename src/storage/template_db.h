#pragma once
#include <QString>
#include <array>

#include "form/slots.h"

namespace pastel {

inline const QString kTemplateFileName = QStringLiteral("pastel.mdb");

// AppFolder (ending in "/") + "pastel.mdb".
QString templateDatabasePath(const QString& appFolder);

// Builds a fresh template at path: written to a temporary file, stale
// journals of path removed, then renamed into place.
bool writeTemplateDatabase(const QString& path, QString* error = nullptr);

// A missing template is written anew; one that is there, usable or not, is
// never touched here.
enum class TemplateStart { Present, Written, WriteFailed };
TemplateStart ensureTemplateDatabase(const QString& appFolder);

using WordList = std::array<QString, kSlots>;

struct WordListRead {
  bool ok = false;      // the table and all ten columns could be read
  bool hasRow = false;  // the table holds a first row
  WordList words;       // moji1 .. moji10 of that row
  QString error;
};

// Reads the word list from the first row of 所属テーブル, read-only; a word
// longer than a word may be is cut (withinWordLength).
WordListRead readWordList(const QString& path);

// Stores the words into the first row, adding the row when the table is
// empty. A file without the table or one of its columns is left as it was.
bool storeWordList(const QString& path, const WordList& words, QString* error = nullptr);

}  // namespace pastel
