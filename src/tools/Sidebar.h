#pragma once
class EditBox;
class QWidget;

// "隐藏" widens the pane over the lists of the window (the pane lies above
// them); "显示" narrows it back beside them. The lists themselves are never
// touched.
void OnHideSidebar(const QWidget &window, EditBox &pane);
void OnShowSidebar(const QWidget &window, EditBox &pane);
