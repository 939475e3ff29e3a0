#pragma once
// 阅读 > 净化规则… and 显示原文: the rules window over the session's rules,
// every change shown in the pane at once, and the open book shown as it is.
class QMenu;
class ReadingSession;
struct ReaderControls;

void AddCleanupItems(QMenu *reading, ReadingSession &session, const ReaderControls &controls);
