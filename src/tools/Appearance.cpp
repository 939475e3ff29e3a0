#include "tools/Appearance.h"

#include "core/Preferences.h"
#include "core/TypographySettings.h"
#include "tools/Themes.h"
#include "ui/ColourChooser.h"
#include "ui/ColourRef.h"
#include "ui/DefaultFont.h"
#include "ui/EditBox.h"
#include "ui/FontChooser.h"
#include "ui/ListBox.h"
#include "ui/TypographyDialog.h"

#include <QPalette>

namespace {

// The font dialog offers 1 to 512 points. Far beyond that the font engine
// gives up and draws empty boxes; nothing below 1 can be drawn at all.
constexpr int kLargestPoints = 512;
constexpr int kColourBits = 0xFFFFFF;

constexpr SettingId kFontIds[] = {IdOf(&Settings::fontName), IdOf(&Settings::fontSize)};
constexpr SettingId kColourIds[] = {IdOf(&Settings::textColour), IdOf(&Settings::backgroundColour)};
constexpr SettingId kTypographyIds[] = {IdOf(&Settings::lineSpacing),      IdOf(&Settings::paragraphSpacing),
                                        IdOf(&Settings::sideMargin),       IdOf(&Settings::topMargin),
                                        IdOf(&Settings::indentation),      IdOf(&Settings::blankLines),
                                        IdOf(&Settings::columnCharacters), IdOf(&Settings::justify)};

template <std::size_t N>
bool IsOneOf(SettingId id, const SettingId (&ids)[N])
{
    return std::find(std::begin(ids), std::end(ids), id) != std::end(ids);
}

// A colour as the pane keeps it: red, green and blue, nothing above.
std::optional<int> PaneColour(std::optional<int> colourRef, int designed)
{
    return (colourRef ? *colourRef : designed) & kColourBits;
}

} // namespace

Appearance::Appearance(Preferences &preferences, EditBox &pane, ListBox &bookList, ListBox &chapterList,
                       QObject *parent)
    : QObject(parent), preferences_(preferences), pane_(pane), bookList_(bookList), chapterList_(chapterList)
{
    connect(&preferences_, &Preferences::changed, this, &Appearance::OnChanged);
}

void Appearance::AdoptRemembered()
{
    const Settings &remembered = preferences_.Values();
    const QFont designed = DefaultReadingFont();
    const std::optional<int> size = remembered.fontSize;
    preferences_.Set(&Settings::fontName, remembered.fontName.isEmpty() ? designed.family() : remembered.fontName);
    preferences_.Set(&Settings::fontSize,
                     std::optional<int>(size && *size >= 1 ? qMin(*size, kLargestPoints) : designed.pointSize()));
    preferences_.Set(&Settings::textColour, PaneColour(remembered.textColour, 0));
    preferences_.Set(&Settings::backgroundColour, PaneColour(remembered.backgroundColour, kColourBits));
    ApplyFont();
    ApplyColours();
    SetTypography(TypographyFrom(preferences_.Values()));
}

// The pane is set once, with every value of the typography in.
void Appearance::SetTypography(const Typography &typography)
{
    settingTypography_ = true;
    PutTypography(typography, preferences_);
    settingTypography_ = false;
    pane_.SetTextTypography(TypographyFrom(preferences_.Values()));
}

int Appearance::TextColour() const
{
    return preferences_.Values().textColour.value_or(0);
}

void Appearance::OnChanged(SettingId id)
{
    if (IsOneOf(id, kFontIds))
        ApplyFont();
    else if (IsOneOf(id, kColourIds))
        ApplyColours();
    else if (IsOneOf(id, kTypographyIds) && !settingTypography_)
        pane_.SetTextTypography(TypographyFrom(preferences_.Values()));
}

void Appearance::ApplyFont()
{
    const Settings &values = preferences_.Values();
    pane_.SetFontName(values.fontName);
    if (values.fontSize)
        pane_.SetFontSize(*values.fontSize);
}

// The lists take the page's colours, and so does the window that holds them
// (its menu bar, the strip below the pane), unless the page is the designed
// black on white, which leaves the desktop's colours.
void Appearance::ApplyColours()
{
    const Settings &values = preferences_.Values();
    const int text = values.textColour.value_or(0);
    const int background = values.backgroundColour.value_or(kColourBits);
    pane_.SetTextColour(text);
    pane_.SetBackgroundColour(background);
    for (ListBox *list : {&bookList_, &chapterList_})
        list->SetColours(text, background);
    const Theme &designed = kThemes[0];
    QPalette chrome;
    if (text != designed.text || background != designed.background) {
        for (const auto role : {QPalette::Window, QPalette::Button})
            chrome.setColor(role, ColourFromRef(background));
        for (const auto role : {QPalette::WindowText, QPalette::ButtonText})
            chrome.setColor(role, ColourFromRef(text));
    }
    pane_.window()->setPalette(chrome);
}

void Appearance::OnChooseFont(FontChooser &chooser, QWidget *window)
{
    if (!chooser.Show(window))
        return;
    pane_.SetBold(chooser.Bold());
    pane_.SetItalic(chooser.Italic());
    pane_.SetStrikeOut(chooser.StrikeOut());
    pane_.SetUnderline(chooser.Underline());
    preferences_.Set(&Settings::fontName, chooser.FontName());
    if (chooser.Size() >= 1)
        preferences_.Set(&Settings::fontSize, std::optional<int>(qMin(chooser.Size(), kLargestPoints)));
    preferences_.Set(&Settings::textColour, std::optional<int>(chooser.Colour() & kColourBits));
}

void Appearance::OnChooseBackground(ColourChooser &chooser, QWidget *window)
{
    if (chooser.Show(window))
        preferences_.Set(&Settings::backgroundColour, std::optional<int>(chooser.Colour() & kColourBits));
}

void Appearance::OnChooseTextColour(ColourChooser &chooser, QWidget *window)
{
    if (chooser.Show(window))
        preferences_.Set(&Settings::textColour, std::optional<int>(chooser.Colour() & kColourBits));
}

void Appearance::OnChooseTheme(const Theme &theme)
{
    preferences_.Set(&Settings::textColour, std::optional<int>(theme.text));
    preferences_.Set(&Settings::backgroundColour, std::optional<int>(theme.background));
}

void Appearance::OnChooseTypography(QWidget *window)
{
    const Typography before = TypographyFrom(preferences_.Values());
    const std::optional<Typography> chosen =
        AskTypography(window, before, [this](const Typography &typography) { SetTypography(typography); });
    SetTypography(chosen.value_or(before));
}
