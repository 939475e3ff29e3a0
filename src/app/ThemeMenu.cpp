#include "app/ThemeMenu.h"

#include "app/MenuItem.h"
#include "tools/Appearance.h"
#include "tools/Themes.h"
#include "ui/ColourChooser.h"
#include "ui/EditBox.h"
#include "ui/ReaderControls.h"

namespace {

// The chooser opens at the text colour the page has.
void ChooseTextColour(const ReaderControls &c)
{
    ColourChooser chooser(c.编辑框_内容->TextColour());
    OnChooseTextColour(chooser, *c.编辑框_内容, *c.列表框_文件, *c.列表框_章节, c.mainWindow);
}

} // namespace

void AddColourItems(QMenu *settings, const ReaderControls &c)
{
    AddMenuItem(settings, QStringLiteral("文本颜色…"), [&c] { ChooseTextColour(c); });
    QMenu *themes = settings->addMenu(QStringLiteral("主题"));
    for (const Theme &theme : kThemes)
        AddMenuItem(themes, QString::fromUtf8(theme.name),
                    [&c, &theme] { OnChooseTheme(theme, *c.编辑框_内容, *c.列表框_文件, *c.列表框_章节); });
    themes->addSeparator();
    AddMenuItem(themes, QStringLiteral("自定义…"), [&c] {
        ChooseTextColour(c);
        OnChooseBackground(*c.选择颜色对话框1, *c.编辑框_内容, *c.列表框_文件, *c.列表框_章节, c.mainWindow);
    });
}
