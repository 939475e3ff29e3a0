#include "tools/Sidebar.h"

#include "ui/EditBox.h"

#include <QWidget>

namespace {

// The pane's right edge stays 4 pixels short of the window's outer width.
void PlacePane(const QWidget &window, EditBox &pane, int left, int widthShortOfWindow)
{
    const int windowWidth = window.frameGeometry().width();
    // A window narrower than the sidebar would give a negative width.
    pane.setGeometry(left, pane.y(), qMax(0, windowWidth - widthShortOfWindow), pane.height());
}

} // namespace

void OnHideSidebar(const QWidget &window, EditBox &pane)
{
    PlacePane(window, pane, 1, 5);
}

void OnShowSidebar(const QWidget &window, EditBox &pane)
{
    PlacePane(window, pane, 169, 173);
}
