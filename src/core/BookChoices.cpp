#include "core/BookChoices.h"

BookChoices ChoicesOf(const std::optional<BookRecord> &record)
{
    if (!record)
        return {};
    return {EncodingNamed(record->encoding), ChapterRule::FromKey(record->chapterRule)};
}
