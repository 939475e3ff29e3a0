#pragma once
// Reading the members of JSON objects that a damaged file or another
// computer may have given any value: each reader answers nullopt for a value
// of the wrong type, never a made-up one.
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <limits>
#include <optional>

// A whole number within 64 bits (a fraction is none).
inline std::optional<qint64> IntegerOf(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    // toInteger() answers 0 for a fraction or a number beyond 64 bits.
    const qint64 integer = value.toInteger();
    if (double(integer) != value.toDouble())
        return std::nullopt;
    return integer;
}

// A whole number within 32 bits.
inline std::optional<int> Int32Of(const QJsonValue &value)
{
    const std::optional<qint64> integer = IntegerOf(value);
    if (!integer || *integer < std::numeric_limits<int>::min() || *integer > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*integer);
}

// A string.
inline std::optional<QString> TextOf(const QJsonValue &value)
{
    return value.isString() ? std::optional<QString>(value.toString()) : std::nullopt;
}

// Takes the member into field when the object has it; false when its value
// is not what `read` reads.
template <typename Field, typename Read>
bool Take(const QJsonObject &object, QStringView key, Field &field, Read read)
{
    const auto found = object.constFind(key);
    if (found == object.constEnd())
        return true;
    const auto value = read(found.value());
    if (value)
        field = *value;
    return value.has_value();
}

// An array whose every item `elementFromJson` reads.
template <typename Element>
std::optional<QList<Element>> ListFromJson(const QJsonValue &value,
                                           std::optional<Element> (*elementFromJson)(const QJsonValue &))
{
    if (!value.isArray())
        return std::nullopt;
    QList<Element> list;
    for (const QJsonValueConstRef item : value.toArray()) {
        std::optional<Element> element = elementFromJson(item);
        if (!element)
            return std::nullopt;
        list.append(std::move(*element));
    }
    return list;
}
