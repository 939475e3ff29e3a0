#pragma once
// Made-up Chinese novels for tests and the benchmark, the same for the same
// seed. The prose comes from a small vocabulary that holds no "第", no "、",
// none of 章回卷节集部 and no numerals, so the only places a chapter heading can
// be found are the planted headings (and, when asked for, traps that look
// like headings but are none).
#include <QList>
#include <QString>

struct NovelOptions {
    quint32 seed = 1;
    int chapters = 20;
    int charactersPerChapter = 2000; // approximate length of each chapter's prose
    bool crLf = true;                // CR LF line ends; bare LF when false
    bool tableOfContents = false;    // the book opens with a list of every heading
    QString afterContents{};         // a line after that list (正文, ------), if any
    bool indented = false;           // paragraphs and headings start with two U+3000
    bool traps = false;              // prose also holds 第 and 、 where no heading is
    // 第 headings without a title (numbered sections keep theirs).
    bool bareHeadings = false;
    bool longNumbers = false; // about half of the 第 numbers have 7 to 12 numerals
    // Prose sentences that the designed pattern takes for headings (他第一次回家,
    // 这第三部功法), one in the first paragraph of each chapter until all are
    // placed.
    int falseHeadings = 0;
};

struct PlantedHeading {
    qsizetype position; // of the heading's first character in the text
    QString text;       // to the end of its line, the CR of a CR LF included

    bool operator==(const PlantedHeading &) const = default;
};

struct Novel {
    QString text;                   // title line first
    QList<PlantedHeading> headings; // in book order, table of contents included
};

// Headings mix 第…章/回/卷/节/集/部 (numbers of at most six numerals, digit by
// digit with 〇 where the usual form is longer, unless long numbers are asked
// for), a volume and a chapter on one line, and numbered sections such as 三、
// with a title.
Novel GenerateNovel(const NovelOptions &options);
