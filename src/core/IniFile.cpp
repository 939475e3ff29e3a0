#include "core/IniFile.h"

#include "core/CodePage.h"
#include "core/Log.h"
#include "core/SafeFile.h"

#include <QList>

#include <optional>

namespace {

const QByteArray kNewLine = "\r\n";
const QByteArray kUtf8Bom = "\xEF\xBB\xBF";

// Splitting the raw bytes at LF is safe: no GB18030 character has a 0x0A byte.
// Each line keeps its own line end, so untouched lines go back unchanged.
QList<QByteArray> SplitLines(const QByteArray &content)
{
    QList<QByteArray> lines;
    for (qsizetype start = 0; start < content.size();) {
        const qsizetype newLine = content.indexOf('\n', start);
        const qsizetype end = newLine < 0 ? content.size() : newLine + 1;
        lines.append(content.mid(start, end - start));
        start = end;
    }
    return lines;
}

QByteArray LineEnd(const QByteArray &line)
{
    if (line.endsWith(kNewLine))
        return kNewLine;
    return line.endsWith('\n') ? QByteArray("\n") : QByteArray();
}

// A byte-order mark can only open the file. Elsewhere its bytes are text: a
// key such as 锘开 starts with them in GB18030.
QString LineText(const QList<QByteArray> &lines, qsizetype index)
{
    QByteArray body = lines[index].chopped(LineEnd(lines[index]).size());
    if (index == 0 && body.startsWith(kUtf8Bom))
        body.remove(0, kUtf8Bom.size());
    return DecodeCodePage(body);
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<QString> SectionName(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype close = trimmed.indexOf(u']');
    if (!trimmed.startsWith(u'[') || close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line; nullopt for comments and any other line.
std::optional<QString> KeyName(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0 || trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
        return std::nullopt;
    return trimmed.left(equals).trimmed();
}

QString ValueOf(const QString &keyLineText)
{
    return keyLineText.mid(keyLineText.indexOf(u'=') + 1).trimmed();
}

// Where a key stands: its line (the first one when repeated), or else where a
// new key line goes, after the last key or header of its section.
struct KeyPlace {
    qsizetype keyLine = -1;
    qsizetype insertAt = -1; // -1 too: the section is missing
};

KeyPlace FindKey(const QList<QByteArray> &lines, const QString &section, const QString &key)
{
    KeyPlace place;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = LineText(lines, i);
        const std::optional<QString> sectionName = SectionName(text);
        const std::optional<QString> keyName = sectionName ? std::nullopt : KeyName(text);
        if (sectionName)
            inSection = SameName(*sectionName, section);
        if (!inSection)
            continue;
        if (keyName && SameName(*keyName, key))
            return {.keyLine = i};
        if (sectionName || keyName)
            place.insertAt = i + 1;
    }
    return place;
}

// The key, the blanks after "=" and the line end stay as they were. The first
// 0x3D byte is the "=": it is never part of a GB18030 multi-byte character.
QByteArray WithValue(const QByteArray &line, const QString &value)
{
    qsizetype valueStart = line.indexOf('=') + 1;
    while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t'))
        ++valueStart;
    return line.left(valueStart) + EncodeCodePage(value) + LineEnd(line);
}

void InsertLine(QList<QByteArray> &lines, qsizetype at, const QByteArray &line)
{
    if (at == lines.size() && !lines.isEmpty() && LineEnd(lines.last()).isEmpty())
        lines.last() += kNewLine;
    lines.insert(at, line);
}

void PutKey(QList<QByteArray> &lines, const QString &section, const QString &key, const QString &value)
{
    const KeyPlace place = FindKey(lines, section, key);
    const QByteArray keyLine = EncodeCodePage(key + u'=' + value) + kNewLine;
    if (place.keyLine >= 0) {
        lines[place.keyLine] = WithValue(lines[place.keyLine], value);
    } else if (place.insertAt >= 0) {
        InsertLine(lines, place.insertAt, keyLine);
    } else {
        InsertLine(lines, lines.size(), EncodeCodePage(u'[' + section + u']') + kNewLine);
        lines.append(keyLine);
    }
}

} // namespace

QString ReadIniValue(const QString &file, const QString &section, const QString &key, const QString &defaultValue)
{
    return IniSnapshot(file).Value(section, key, defaultValue);
}

IniSnapshot::IniSnapshot(const QString &file) : lines_(SplitLines(ReadWholeFile(file).value_or(QByteArray()))) {}

QString IniSnapshot::Value(const QString &section, const QString &key, const QString &defaultValue) const
{
    const KeyPlace place = FindKey(lines_, section, key);
    return place.keyLine < 0 ? defaultValue : ValueOf(LineText(lines_, place.keyLine));
}

bool WriteIniValue(const QString &file, const QString &section, const QString &key, const QString &value)
{
    return WriteIniValues(file, {{section, key, value}});
}

bool WriteIniValues(const QString &file, const QList<IniValue> &values)
{
    const std::optional<QByteArray> content = ReadWholeFile(file);
    if (!content)
        return false;
    QList<QByteArray> lines = SplitLines(*content);
    for (const IniValue &value : values)
        PutKey(lines, value.section, value.key, value.value);
    return ReplaceFile(file, lines.join());
}

IniFileLock::IniFileLock(const QString &file, std::chrono::milliseconds patience)
    : lock_(file + QStringLiteral(".lock"))
{
    // Nobody writes a read-only file: there is nothing to guard.
    if (!WriteRefusal(file).isEmpty())
        return;
    if (!lock_.tryLock(patience))
        qCWarning(lcCore) << "writing" << file << "without its lock, error" << lock_.error();
}

bool IniFileLock::IsHeld() const
{
    return lock_.isLocked();
}
