#pragma once
#include <QString>

struct ReaderControls;

// Handler of the loader's progress notifications on 标签_状态显示: writes the
// caption and, at exactly 100, indexes the finished book and shows chapter 0.
void OnLoadProgress(QString &bookText, const ReaderControls &controls, int percentage, int unused);

// Trims the book text in place and fills 列表框_章节 with the head item and
// every heading found, each kept with the position where it stands.
void BuildChapterIndex(QString &bookText, const ReaderControls &controls);
