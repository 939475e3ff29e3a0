#pragma once
// Settings kept in an ini file and reached one key at a time, with the
// semantics of Windows private-profile files. The file is GB18030 text; lines
// written here end in CR LF and every other line keeps its bytes.
#include <QString>

// The stored value; defaultValue when the file, the section or the key is
// missing. A key with nothing after its "=" reads as empty text. Section and
// key names match regardless of letter case.
QString ReadIniValue(const QString &file, const QString &section, const QString &key,
                     const QString &defaultValue);

// Replaces the key's value in place, or adds the key at the end of its section,
// or the section at the end of the file, creating the file when missing. The
// file is replaced as a whole or not at all; a read-only file or directory is
// left alone. Returns whether the value was written.
bool WriteIniValue(const QString &file, const QString &section, const QString &key,
                   const QString &value);

// Whether ini files can be written in that directory (it exists, this user may
// write there, and it is not marked read-only).
bool CanHoldIniFiles(const QString &directory);
