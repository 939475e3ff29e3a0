#pragma once
struct ReaderControls;

// Claims the bare ` key for the window; returns what the service returns (the
// caller keeps it for the release, without testing it).
int RegisterReaderHotKey(const ReaderControls &controls);
void ReleaseReaderHotKey(const ReaderControls &controls, int hotKeyId);

// Handler of 标签_热键反馈's notification: hides the window, or shows it again.
void OnHotKey(const ReaderControls &controls, int hotKey, int unused);
