#include "core/Typography.h"

#include <QtGlobal>

#include <iterator>
#include <utility>

namespace {

constexpr std::pair<Indentation, const char *> kIndentationNames[] = {
    {Indentation::AsInFile, "保持原样"},
    {Indentation::TwoFullWidth, "两个全角空格"},
    {Indentation::None, "不缩进"},
};

constexpr std::pair<BlankLines, const char *> kBlankLineNames[] = {
    {BlankLines::Keep, "保留"},
    {BlankLines::Collapse, "合并为一行"},
    {BlankLines::Remove, "删除"},
};

template <typename Choice, std::size_t N>
QString NameIn(const std::pair<Choice, const char *> (&names)[N], Choice choice)
{
    for (const auto &[value, name] : names)
        if (value == choice)
            return QString::fromUtf8(name);
    return QString::fromUtf8(names[0].second);
}

template <typename Choice, std::size_t N>
Choice ChoiceIn(const std::pair<Choice, const char *> (&names)[N], const QString &name)
{
    for (const auto &[value, text] : names)
        if (name == QString::fromUtf8(text))
            return value;
    return names[0].first;
}

} // namespace

QString NameOf(Indentation indentation)
{
    return NameIn(kIndentationNames, indentation);
}

QString NameOf(BlankLines blankLines)
{
    return NameIn(kBlankLineNames, blankLines);
}

Indentation IndentationNamed(const QString &name)
{
    return ChoiceIn(kIndentationNames, name);
}

BlankLines BlankLinesNamed(const QString &name)
{
    return ChoiceIn(kBlankLineNames, name);
}

Typography WithinRanges(Typography typography)
{
    typography.lineSpacing = qBound(kLeastLineSpacing, typography.lineSpacing, kMostLineSpacing);
    typography.paragraphSpacing = qBound(0.0, typography.paragraphSpacing, kMostParagraphSpacing);
    typography.sideMargin = qBound(0, typography.sideMargin, kMostMargin);
    typography.topMargin = qBound(0, typography.topMargin, kMostMargin);
    typography.columnCharacters = qBound(0, typography.columnCharacters, kMostColumnCharacters);
    return typography;
}
