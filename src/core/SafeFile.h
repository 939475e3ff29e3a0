#pragma once
// Small files read whole and replaced whole, so that no reader ever sees one
// half written: a kill or a full disk at any moment leaves the old file or
// the new one, complete.
#include <QByteArray>
#include <QString>

#include <optional>

// The file's bytes; empty for a missing file, nullopt (logged) for one that
// exists but cannot be read.
std::optional<QByteArray> ReadWholeFile(const QString &path);

// Why the file may not be written, or empty text when it may. A read-only
// file or directory keeps its content for every user, root included, as on
// Windows.
QString WriteRefusal(const QString &path);

// Whether files can be written in that directory (it exists, this user may
// write there, and it is not marked read-only).
bool CanWriteFilesIn(const QString &directory);

// Replaces the file with the content, or creates it; on any failure (logged)
// the old file stays as it was and nothing is left beside it.
bool ReplaceFile(const QString &path, const QByteArray &content);
