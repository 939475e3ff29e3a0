#pragma once
// What the reader chose for each book (its encoding, its chapter rule), kept
// in the book's record and handed to the loader whenever a book is opened.
#include "core/BookRecord.h"
#include "core/OpenBook.h"

#include <optional>

struct ReaderState;
struct ReaderControls;

// The choices a record holds; none for a book without one.
BookChoices ChoicesOf(const std::optional<BookRecord> &record);
// Lets the loader open every book with its choices.
void UseBookChoices(ReaderState &state);
// After start-up reopened a book before the store was read: a book with an
// encoding of its own is read again in it, and one with a chapter rule of
// its own is cut again by it.
void ApplyChoicesFoundLate(ReaderState &state, const ReaderControls &controls);
