#include "tools/Appearance.h"

#include "ui/ColourChooser.h"
#include "ui/EditBox.h"
#include "ui/FontChooser.h"
#include "ui/ListBox.h"

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
    ColourListsLikePane(pane, bookList, chapterList);
}

void OnChooseBackground(ColourChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList, QWidget *window)
{
    if (!chooser.Show(window))
        return;
    pane.SetBackgroundColour(chooser.Colour());
    ColourListsLikePane(pane, bookList, chapterList);
}

void ColourListsLikePane(const EditBox &pane, ListBox &bookList, ListBox &chapterList)
{
    for (ListBox *list : {&bookList, &chapterList})
        list->SetColours(pane.TextColour(), pane.BackgroundColour());
}
