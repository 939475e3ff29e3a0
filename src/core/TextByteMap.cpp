#include "core/TextByteMap.h"

#include <QStringEncoder>

#include <algorithm>

namespace {

// The length of `text` encoded; nullopt when the encoding cannot hold it.
std::optional<qint64> EncodedLength(QStringView text, const TextEncoding &encoding)
{
    QStringEncoder encoder(encoding.Name());
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes.size();
}

} // namespace

void TextByteMap::Add(qsizetype text, qint64 byte)
{
    places_.append({text, byte});
}

void TextByteMap::DropFront(QStringView front, const TextEncoding &encoding)
{
    if (front.isEmpty())
        return;
    const std::optional<qint64> start = ByteOffset(front, front.size(), encoding);
    places_.removeIf([&front](const Place &place) { return place.text < front.size(); });
    for (Place &place : places_)
        place.text -= front.size();
    if (start && (places_.isEmpty() || places_.first().text > 0))
        places_.prepend({0, *start});
}

std::optional<qint64> TextByteMap::ByteOffset(QStringView text, qsizetype position, const TextEncoding &encoding) const
{
    const auto after = std::upper_bound(places_.cbegin(), places_.cend(), position,
                                        [](qsizetype at, const Place &place) { return at < place.text; });
    if (after == places_.cbegin() || position > text.size())
        return std::nullopt;
    const Place &place = *(after - 1);
    if (position - place.text > kMostEncoded)
        return std::nullopt;
    const std::optional<qint64> between = EncodedLength(text.sliced(place.text, position - place.text), encoding);
    return between ? std::optional<qint64>(place.byte + *between) : std::nullopt;
}
