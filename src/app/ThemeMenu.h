#pragma once
// 设置 → 文本颜色… and 设置 → 主题: the page's colour themes, and 自定义… for
// a pair of one's own (the text colour, then the background).
class Appearance;
class QMenu;
struct ReaderControls;

void AddColourItems(QMenu *settings, Appearance &appearance, const ReaderControls &controls);
