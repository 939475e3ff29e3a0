#pragma once
// The encoding of a book chosen by hand, for the books whose encoding is
// guessed wrong (UTF-16 without a byte-order mark, UTF-8 whose first
// megabyte is ASCII): remembered in the book's record and used whenever the
// book is opened.
#include "core/TextEncodingDetector.h"

#include <optional>

class ReadingSession;

class BookEncoding {
public:
    explicit BookEncoding(ReadingSession &session) : session_(session) {}

    // "编码" → an encoding (nullopt: "自动检测", which drops the choice): the
    // open book is read again with it, at the chapter of the same title where
    // there still is one, else at chapter 0.
    void OnChooseEncoding(std::optional<TextEncoding::Kind> kind);
    // The choice for the open book, nullopt when its encoding is recognised.
    std::optional<TextEncoding::Kind> Chosen() const;

private:
    ReadingSession &session_;
};
