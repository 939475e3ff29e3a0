#pragma once
// 设置 → 热键…: choosing the key that hides the reader and shows it again.
// Where the program picks the key, our dialog asks for it; where the desktop
// does (its portal on Wayland), the desktop is asked to show its own. The
// new key is claimed at once; when it cannot be, the reader runs on without
// one and the strip below the pane says so.
class QMenu;
class ReaderHotKey;
struct ReaderControls;

void AddHotKeyItem(QMenu *settings, ReaderHotKey &hotKey, const ReaderControls &controls);
// The key follows the keyboard focus (ReaderHotKey::FollowFocus), so that a
// key without modifiers types into the reader's own text fields; a key that
// cannot be claimed back afterwards is said in the strip.
void LendHotKeyToTextFields(ReaderHotKey &hotKey, const ReaderControls &controls);
