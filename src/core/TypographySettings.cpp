#include "core/TypographySettings.h"

#include "core/Preferences.h"

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
    typography.indentation = settings.indentation;
    typography.blankLines = settings.blankLines;
    typography.columnCharacters = settings.columnCharacters;
    typography.justify = settings.justify;
    return WithinRanges(typography);
}

void PutTypography(const Typography &typography, Settings &settings)
{
    settings.lineSpacing = int(std::lround(typography.lineSpacing * kTenths));
    settings.paragraphSpacing = int(std::lround(typography.paragraphSpacing * kTenths));
    settings.sideMargin = typography.sideMargin;
    settings.topMargin = typography.topMargin;
    settings.indentation = typography.indentation;
    settings.blankLines = typography.blankLines;
    settings.columnCharacters = typography.columnCharacters;
    settings.justify = typography.justify;
}

void PutTypography(const Typography &typography, Preferences &preferences)
{
    Settings settings = preferences.Values();
    PutTypography(typography, settings);
    preferences.Set(&Settings::lineSpacing, settings.lineSpacing);
    preferences.Set(&Settings::paragraphSpacing, settings.paragraphSpacing);
    preferences.Set(&Settings::sideMargin, settings.sideMargin);
    preferences.Set(&Settings::topMargin, settings.topMargin);
    preferences.Set(&Settings::indentation, settings.indentation);
    preferences.Set(&Settings::blankLines, settings.blankLines);
    preferences.Set(&Settings::columnCharacters, settings.columnCharacters);
    preferences.Set(&Settings::justify, settings.justify);
}
