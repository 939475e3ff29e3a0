#pragma once
#include <QStringList>

// Bare names of the regular files in a directory whose names end in ".txt" in
// any letter case, sorted by name ignoring case, so the order (and with it a
// remembered index) stays the same from run to run. Directories, FIFOs and
// other special files are left out; a missing or unreadable directory gives
// an empty list.
QStringList ListBookFiles(const QString &directory);
