#pragma once
// Reads JSON text (RFC 8259, UTF-8; raw control characters in strings pass,
// as in Qt's reader) front to back without building a tree, so
// that a store of thousands of records is read in a few milliseconds. Each
// call takes the next piece it expects; anything else (a syntax error, a value
// of another type, text cut short) marks the reader failed, after which every
// call returns nothing and Failed() stays true.
//
//     reader.EnterObject();
//     while (reader.NextMember())
//         if (reader.NameIs("size")) size = reader.Integer(); else reader.SkipValue();
#include <QByteArrayView>
#include <QString>

#include <optional>

class JsonReader {
public:
    explicit JsonReader(QByteArrayView text);

    bool Failed() const { return failed_; }
    // True when only white space is left (and nothing failed).
    bool AtEnd();

    // Takes "{" / "[".
    bool EnterObject();
    bool EnterArray();
    // Takes the next member's name and its ":"; false, having taken the
    // closing "}", when the object has no more members (or on failure).
    bool NextMember();
    // The name of the member just taken, and whether it is `name`. Comparing
    // costs no copy of the name.
    QString Name() const;
    bool NameIs(QByteArrayView name) const;
    // Whether another element follows; false, having taken the closing "]",
    // when the array has no more (or on failure).
    bool NextElement();

    std::optional<QString> String();
    std::optional<double> Number();
    // A number without a fraction, within the 53 bits a double holds exactly.
    std::optional<qint64> Integer();
    std::optional<bool> Bool();
    // Takes any one value, checking it as it goes.
    void SkipValue();

private:
    // The next character after white space, '\0' at the end or after a
    // failure. Inline: it runs for every piece of the text.
    char Peek()
    {
        SkipWhiteSpace();
        return !failed_ && at_ < text_.size() ? text_[at_] : '\0';
    }
    bool Take(char expected);
    void SkipWhiteSpace();
    void Fail();
    bool TakeLiteral(QByteArrayView literal);
    // The text between a string's quotes, taken with them; `escaped` tells
    // whether it holds escapes to decode.
    std::optional<QByteArrayView> TakeRawString(bool &escaped);
    std::optional<QByteArrayView> TakeNumber();
    void SkipContainer(char close);

    QByteArrayView text_;
    qsizetype at_ = 0;
    // The last member name taken, raw.
    QByteArrayView name_;
    bool nameEscaped_ = false;
    // Whether the container just entered has had an element or member yet.
    bool first_ = false;
    bool failed_ = false;
    // Containers deeper than this are refused rather than risk the stack.
    int depth_ = 0;
};
