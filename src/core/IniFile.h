#pragma once
// Settings kept in an ini file and reached one key at a time, with the
// semantics of Windows private-profile files. The file is GB18030 text; lines
// written here end in CR LF and every other line keeps its bytes.
#include <QByteArray>
#include <QList>
#include <QLockFile>
#include <QString>

#include <chrono>

// The stored value; defaultValue when the file, the section or the key is
// missing. A key with nothing after its "=" reads as empty text. Section and
// key names match regardless of letter case.
QString ReadIniValue(const QString &file, const QString &section, const QString &key, const QString &defaultValue);

// The file as it was when read, for looking up several keys at the cost of
// one read; each lookup answers as ReadIniValue would have then.
class IniSnapshot {
public:
    explicit IniSnapshot(const QString &file);
    QString Value(const QString &section, const QString &key, const QString &defaultValue) const;

private:
    QList<QByteArray> lines_;
};

// Replaces the key's value in place, or adds the key at the end of its section,
// or the section at the end of the file, creating the file when missing. The
// file is replaced as a whole or not at all; a read-only file or directory is
// left alone. Returns whether the value was written.
bool WriteIniValue(const QString &file, const QString &section, const QString &key, const QString &value);

struct IniValue {
    QString section;
    QString key;
    QString value;
};
// Writes the values in order as WriteIniValue writes each, and leaves the
// same bytes as that series of writes would, but reads and replaces the file
// once. Returns whether they were written.
bool WriteIniValues(const QString &file, const QList<IniValue> &values);

// Held while a group of values is written to a file that other processes may
// write as well: each group then goes in whole, before or after the others,
// and no process writes back values it read before another's group. A lock
// left behind by a process that died is taken over. Best effort: where the
// lock cannot be had (a full disk, a holder that keeps it longer than
// `patience`) the writes go ahead without it; a read-only file or folder,
// which takes no writes, is not locked.
class IniFileLock {
public:
    explicit IniFileLock(const QString &file, std::chrono::milliseconds patience = std::chrono::seconds(5));
    bool IsHeld() const;

private:
    QLockFile lock_;
};
