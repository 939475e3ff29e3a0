#include "app/TypographySettings.h"

#include <cmath>

namespace {
constexpr double kTenths = 10.0;
} // namespace

Typography TypographyFrom(const Settings &settings)
{
    Typography typography;
    typography.lineSpacing = settings.lineSpacing / kTenths;
    typography.paragraphSpacing = settings.paragraphSpacing / kTenths;
    typography.sideMargin = settings.sideMargin;
    typography.topMargin = settings.topMargin;
    typography.indentation = IndentationNamed(settings.indentation);
    typography.blankLines = BlankLinesNamed(settings.blankLines);
    typography.columnCharacters = settings.columnCharacters;
    typography.justify = settings.justify != 0;
    return WithinRanges(typography);
}

void PutTypography(const Typography &typography, Settings &settings)
{
    settings.lineSpacing = int(std::lround(typography.lineSpacing * kTenths));
    settings.paragraphSpacing = int(std::lround(typography.paragraphSpacing * kTenths));
    settings.sideMargin = typography.sideMargin;
    settings.topMargin = typography.topMargin;
    settings.indentation = NameOf(typography.indentation);
    settings.blankLines = NameOf(typography.blankLines);
    settings.columnCharacters = typography.columnCharacters;
    settings.justify = typography.justify ? 1 : 0;
}
