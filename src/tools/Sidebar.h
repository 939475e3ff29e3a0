#pragma once
struct ReaderControls;

// "隐藏" widens the pane over the lists (it lies above them); "显示" narrows it
// back beside them. The lists themselves are never touched.
void OnHideSidebar(const ReaderControls &controls);
void OnShowSidebar(const ReaderControls &controls);
