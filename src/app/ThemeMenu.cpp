#include "app/ThemeMenu.h"

#include "app/MenuItem.h"
#include "tools/Appearance.h"
#include "tools/Themes.h"
#include "ui/ColourChooser.h"
#include "ui/ReaderControls.h"

namespace {

// The chooser opens at the text colour the page has.
void ChooseTextColour(Appearance &appearance, const ReaderControls &c)
{
    ColourChooser chooser(appearance.TextColour());
    appearance.OnChooseTextColour(chooser, c.mainWindow);
}

} // namespace

void AddColourItems(QMenu *settings, Appearance &appearance, const ReaderControls &c)
{
    AddMenuItem(settings, QStringLiteral("文本颜色…"), [&appearance, &c] { ChooseTextColour(appearance, c); });
    QMenu *themes = settings->addMenu(QStringLiteral("主题"));
    for (const Theme &theme : kThemes)
        AddMenuItem(themes, QString::fromUtf8(theme.name), [&appearance, &theme] { appearance.OnChooseTheme(theme); });
    themes->addSeparator();
    AddMenuItem(themes, QStringLiteral("自定义…"), [&appearance, &c] {
        ChooseTextColour(appearance, c);
        appearance.OnChooseBackground(*c.选择颜色对话框1, c.mainWindow);
    });
}
