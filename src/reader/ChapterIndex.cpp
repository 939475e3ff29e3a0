#include "ChapterIndex.h"

#include "ChapterHeadings.h"
#include "ChapterNavigation.h"
#include "ListBox.h"
#include "NotifyLabel.h"
#include "ReaderControls.h"

void OnLoadProgress(QString &bookText, const ReaderControls &controls, int percentage, int)
{
    controls.标签_状态显示->SetCaption(QStringLiteral("已载入%1%").arg(percentage));
    if (percentage != 100)
        return;
    controls.标签_状态显示->SetCaption(QStringLiteral("载入完成"));
    BuildChapterIndex(bookText, controls);
    controls.列表框_章节->SetSelection(0);
    ShowChapter(bookText, controls, 0);
}

void BuildChapterIndex(QString &bookText, const ReaderControls &controls)
{
    bookText = TrimBookText(bookText);
    ListBox *chapters = controls.列表框_章节;
    chapters->setUpdatesEnabled(false);
    chapters->DeleteAll();
    chapters->AddItem(HeadItemOf(bookText), 0);
    for (const ChapterHeading &heading : FindChapterHeadings(bookText))
        chapters->AddItem(heading.text, heading.position);
    chapters->setUpdatesEnabled(true);
}
