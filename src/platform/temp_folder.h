#pragma once
#include <QString>

namespace pastel {

// This process's own temporary folder, <tmp>/pastelboard-XXXXXX, made
// private on first use and removed at the end. Its file ".lock" stays
// locked while the process lives, so that a later start can tell a folder
// whose program is gone. Empty when it cannot be made.
QString processTempFolder();

// Removes the folders named like that under tempRoot that this account's
// programs left when they were killed: only when the lock inside is free
// (an unlocked folder a minute old: its program is gone), or, without a
// lock, when the folder has not changed for a day. Only the files this
// program puts there are removed; a folder holding anything else stays.
// Returns how many folders were removed.
int removeStaleTempFolders(const QString& tempRoot);

}  // namespace pastel
