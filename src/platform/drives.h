#pragma once
#include <QString>
#include <QStringList>

namespace pastel {

// What the settings dialog offers as drives here: "/", the home folder and
// the mounted media (/media/USER/*, /run/media/USER/*, /mnt/*).
QStringList availableDrives();

// The drive of the list a folder lies on: the longest entry containing it.
QString driveOf(const QString& folder, const QStringList& drives);

}  // namespace pastel
