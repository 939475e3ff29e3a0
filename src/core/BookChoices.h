#pragma once
// What the reader chose for a book (the encoding to read it in, the rule that
// cuts it into chapters), kept in the book's record.
#include "core/BookRecord.h"
#include "core/ChapterRules.h"
#include "core/TextEncodingDetector.h"

#include <optional>

struct BookChoices {
    // nullopt: recognise the encoding from the book's first bytes.
    std::optional<TextEncoding::Kind> encoding;
    ChapterRule rule;
};

// The choices a record holds; none for a book without one.
BookChoices ChoicesOf(const std::optional<BookRecord> &record);
