#pragma once
#include <QString>

#include "storage/write_poster.h"

namespace pastel {

struct Poster;

inline const QString kSaveTitle = QStringLiteral("ほぞん");
inline const QString kSaveFailedText =
    QStringLiteral("ほぞん できませんでした。べつの ばしょを えらんでください。");
inline const QString kSaveNameRefusedText =
    QStringLiteral("この なまえでは ほぞん できません。べつの なまえを いれてください。");
inline const QString kPhotoMissingText = QStringLiteral("しゃしんが みつかりませんでした：");
inline const QString kPhotoDroppedText = QStringLiteral("この しゃしんは のこせませんでした：");
inline const QString kSaveReplaceText =
    QStringLiteral("おなじ なまえで ほぞんした ものが あります。おきかえますか？");
inline const QString kSaveBesideFolderText = QStringLiteral(
    "おなじ なまえの フォルダが あります。なかの ものは かえずに、そこへ えを いれます。"
    "いいですか？");

// Command20 "ほぞん": asks for the page's name and writes the page, the
// poster database and the poster folder, all put in place together or not
// at all. Tells the child when it did not work or a photo was missing;
// says nothing when all went well.
SaveResult savePoster(Poster& p);

// The writing part of a save, for names already chosen: the poster's
// content as it is now, with the run's word list.
SaveResult writePoster(Poster& p, const PosterNames& names);

// Where the save dialog starts: the folder of the previous save in this
// run, else the user's documents folder, else home.
QString saveDialogFolder(const Poster& p);

}  // namespace pastel
