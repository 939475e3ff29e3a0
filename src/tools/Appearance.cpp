#include "tools/Appearance.h"

#include "ui/ColourChooser.h"
#include "ui/EditBox.h"
#include "ui/FontChooser.h"

void OnChooseFont(FontChooser &chooser, EditBox &pane, QWidget *window)
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
}

void OnChooseBackground(ColourChooser &chooser, EditBox &pane, QWidget *window)
{
    if (!chooser.Show(window))
        return;
    pane.SetBackgroundColour(chooser.Colour());
}
