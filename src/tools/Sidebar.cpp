#include "Sidebar.h"

#include "EditBox.h"
#include "ReaderControls.h"

#include <QWidget>

namespace {

// The pane's right edge stays 4 pixels short of the window's outer width.
void PlacePane(const ReaderControls &controls, int left, int widthShortOfWindow)
{
    EditBox *pane = controls.编辑框_内容;
    const int windowWidth = controls.mainWindow->frameGeometry().width();
    // A window narrower than the sidebar would give a negative width.
    pane->setGeometry(left, pane->y(), qMax(0, windowWidth - widthShortOfWindow), pane->height());
}

} // namespace

void OnHideSidebar(const ReaderControls &controls)
{
    PlacePane(controls, 1, 5);
}

void OnShowSidebar(const ReaderControls &controls)
{
    PlacePane(controls, 169, 173);
}
