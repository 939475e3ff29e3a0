#include "Appearance.h"

#include "ColourChooser.h"
#include "EditBox.h"
#include "FontChooser.h"
#include "ReaderControls.h"

void OnChooseFont(const ReaderControls &controls)
{
    FontChooser &chooser = *controls.通用对话框2;
    if (!chooser.Show(controls.mainWindow))
        return;
    EditBox &pane = *controls.编辑框_内容;
    pane.SetFontName(chooser.FontName());
    pane.SetFontSize(chooser.Size());
    pane.SetBold(chooser.Bold());
    pane.SetItalic(chooser.Italic());
    pane.SetStrikeOut(chooser.StrikeOut());
    pane.SetUnderline(chooser.Underline());
    pane.SetTextColour(chooser.Colour());
}

void OnChooseBackground(const ReaderControls &controls)
{
    ColourChooser &chooser = *controls.选择颜色对话框1;
    if (!chooser.Show(controls.mainWindow))
        return;
    controls.编辑框_内容->SetBackgroundColour(chooser.Colour());
}
