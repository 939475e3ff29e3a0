#pragma once
// How the reading pane sets its text: spacing, margins, the width of the
// column, and how paragraphs start and are separated. The defaults are the
// plain pane: the text as in the file, edge to edge.
#include <QString>

// 首行缩进: how the first line of a paragraph starts.
enum class Indentation {
    AsInFile,     // the blanks the file has
    TwoFullWidth, // two full-width spaces in place of whatever blanks it has
    None,         // no blanks
};

// 空行: lines holding nothing but blanks.
enum class BlankLines {
    Keep,
    Collapse, // a run of them shown as one
    Remove,
};

struct Typography {
    double lineSpacing = 1.0;      // 行距: line pitch as a multiple of the font's line height, 1.0 to 3.0
    double paragraphSpacing = 0.0; // 段距: room after a paragraph, in lines, 0 to 2
    int sideMargin = 0;            // 页边距 left and right, pixels
    int topMargin = 0;             // 页边距 top and bottom, pixels
    Indentation indentation = Indentation::AsInFile;
    BlankLines blankLines = BlankLines::Keep;
    int columnCharacters = 0; // 正文宽度: at most this many full-width characters a line; 0: the whole pane
    bool justify = false;     // 两端对齐

    bool operator==(const Typography &) const = default;
};

// The ranges the pane accepts; values beyond them are brought inside.
inline constexpr double kLeastLineSpacing = 1.0;
inline constexpr double kMostLineSpacing = 3.0;
inline constexpr double kMostParagraphSpacing = 2.0;
inline constexpr int kMostMargin = 400;
inline constexpr int kMostColumnCharacters = 200;

// The choice's name as the dialog and the settings file write it, and back;
// an unknown name reads as the default.
QString NameOf(Indentation indentation);
QString NameOf(BlankLines blankLines);
Indentation IndentationNamed(const QString &name);
BlankLines BlankLinesNamed(const QString &name);
// Every value brought into its range.
Typography WithinRanges(Typography typography);
