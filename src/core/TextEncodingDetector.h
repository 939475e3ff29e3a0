#pragma once
// Tells which encoding a text file is in from its first bytes: a byte-order
// mark, else well-formed UTF-8, else the guess of uchardet between GB18030
// and Big5. Whatever is not recognised is taken as GB18030, which reads
// every GBK file unchanged.
#include <QByteArrayView>
#include <QString>

#include <optional>

struct TextEncoding {
    enum Kind { Gb18030, Big5, Utf8, Utf16LE, Utf16BE };

    Kind kind = Gb18030;
    // Length of the byte-order mark that starts the text, 0 without one. The
    // mark is not part of the text.
    qsizetype markLength = 0;

    // The name QStringDecoder knows this encoding by.
    const char *Name() const;
    bool IsUtf16() const { return kind == Utf16LE || kind == Utf16BE; }
    bool operator==(const TextEncoding &) const = default;
};

// How much of the start of a file DetectEncoding wants to see.
inline constexpr qsizetype kEncodingSampleSize = 1 << 20;

// sample: the first bytes of the text (kEncodingSampleSize or fewer).
// sampleIsWholeFile: the sample ends where the file ends, so a character cut
// off at its end is an error rather than the sample's edge.
TextEncoding DetectEncoding(QByteArrayView sample, bool sampleIsWholeFile);

// An encoding chosen by the reader for a text starting with `sample`: that
// kind, and the length of its byte-order mark when the text starts with one.
TextEncoding ChosenEncoding(TextEncoding::Kind kind, QByteArrayView sample);

// The kind whose Name() is `name`; nullopt for any other text.
std::optional<TextEncoding::Kind> EncodingNamed(const QString &name);
