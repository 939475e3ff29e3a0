#pragma once
class QWidget;

// F11: the window takes the whole screen, or gives it back. The pane keeps
// its first visible text through the re-layout, as on any resize.
void OnToggleFullScreen(QWidget &window);
// Esc: leaves full screen, back at the size the window had before; nothing
// otherwise.
void OnLeaveFullScreen(QWidget &window);
