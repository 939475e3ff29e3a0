#pragma once
class QWidget;

// Claims the bare ` key for the window; each press notifies the label
// (标签_热键反馈). Returns what the service returns (the caller keeps it for
// the release, without testing it).
int RegisterReaderHotKey(QWidget *window, QWidget *notifyLabel);
void ReleaseReaderHotKey(QWidget *window, int hotKeyId);

// Handler of 标签_热键反馈's notification: hides the window, or shows it again.
void OnHotKey(QWidget &window, int hotKey, int unused);

// The reader was started again: its window shows, also when it was hidden with
// the hot key or minimised, and comes to the front.
void ShowInFront(QWidget &window);
