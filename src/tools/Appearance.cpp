#include "tools/Appearance.h"

#include "tools/Themes.h"
#include "ui/ColourChooser.h"
#include "ui/ColourRef.h"
#include "ui/EditBox.h"
#include "ui/FontChooser.h"
#include "ui/ListBox.h"
#include "ui/TypographyDialog.h"

#include <QPalette>

void OnChooseFont(FontChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList, QWidget *window)
{
    if (!chooser.Show(window))
        return;
    pane.SetFontName(chooser.FontName());
    pane.SetFontSize(chooser.Size());
    pane.SetBold(chooser.Bold());
    pane.SetItalic(chooser.Italic());
    pane.SetStrikeOut(chooser.StrikeOut());
    pane.SetUnderline(chooser.Underline());
    pane.SetTextColour(chooser.Colour());
    ColourWindowLikePane(pane, bookList, chapterList);
}

void OnChooseBackground(ColourChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList, QWidget *window)
{
    if (!chooser.Show(window))
        return;
    pane.SetBackgroundColour(chooser.Colour());
    ColourWindowLikePane(pane, bookList, chapterList);
}

void OnChooseTextColour(ColourChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList, QWidget *window)
{
    if (!chooser.Show(window))
        return;
    pane.SetTextColour(chooser.Colour());
    ColourWindowLikePane(pane, bookList, chapterList);
}

void OnChooseTheme(const Theme &theme, EditBox &pane, ListBox &bookList, ListBox &chapterList)
{
    pane.SetTextColour(theme.text);
    pane.SetBackgroundColour(theme.background);
    ColourWindowLikePane(pane, bookList, chapterList);
}

void ColourWindowLikePane(const EditBox &pane, ListBox &bookList, ListBox &chapterList)
{
    for (ListBox *list : {&bookList, &chapterList})
        list->SetColours(pane.TextColour(), pane.BackgroundColour());
    const Theme &designed = kThemes[0];
    QPalette chrome;
    if (pane.TextColour() != designed.text || pane.BackgroundColour() != designed.background) {
        const QColor text = ColourFromRef(pane.TextColour());
        const QColor background = ColourFromRef(pane.BackgroundColour());
        for (const auto role : {QPalette::Window, QPalette::Button})
            chrome.setColor(role, background);
        for (const auto role : {QPalette::WindowText, QPalette::ButtonText})
            chrome.setColor(role, text);
    }
    pane.window()->setPalette(chrome);
}

void OnChooseTypography(EditBox &pane, QWidget *window)
{
    const Typography before = pane.TextTypography();
    const std::optional<Typography> chosen =
        AskTypography(window, before, [&pane](const Typography &typography) { pane.SetTextTypography(typography); });
    pane.SetTextTypography(chosen.value_or(before));
}
