#include "core/CodePage.h"
#include "shelf/Shelf.h"
#include "support/NovelGenerator.h"
#include "support/ReaderFixture.h"
#include "support/TestRegistry.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"

#include <QScrollBar>
#include <QTest>

namespace {

const QString kBook = QStringLiteral("小书\r\n"
                                     "第一章 春\r\n春天的故事。\r\n"
                                     "第二章 夏\r\n夏天的故事。\r\n"
                                     "第三章 秋\r\n秋天的故事。");

} // namespace

class NavigationTest : public QObject {
    Q_OBJECT
private:
    const ReaderControls &OpenBook(ReaderFixture &reader, const QString &text)
    {
        reader.AddBook(QStringLiteral("book.txt"), EncodeCodePage(text));
        reader.WriteSettingsForBookFolder();
        reader.Start();
        reader.OpenBookAt(0);
        return reader.Controls();
    }

    static void Release(QWidget *control, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyRelease(control, key, modifiers);
    }

private Q_SLOTS:
    void loadedBook_showsChapterZeroAndListsHeadings()
    {
        ReaderFixture reader;
        const ReaderControls &c = OpenBook(reader, kBook);
        QCOMPARE(c.列表框_章节->Count(), 4);
        QCOMPARE(c.列表框_章节->ItemText(0), QStringLiteral("小书\r"));
        QCOMPARE(c.列表框_章节->ItemText(2), QStringLiteral("第二章 夏\r"));
        QCOMPARE(c.列表框_章节->Selection(), 0);
        QCOMPARE(c.编辑框_内容->Text(), ReaderFixture::AsShownInPane(QStringLiteral("小书\r\n")));
    }

    void arrows_stepAndWrapAtBothEnds()
    {
        ReaderFixture reader;
        const ReaderControls &c = OpenBook(reader, kBook);
        Release(c.编辑框_内容, Qt::Key_Right);
        QCOMPARE(c.列表框_章节->Selection(), 1);
        QCOMPARE(c.编辑框_内容->Text(), ReaderFixture::AsShownInPane(QStringLiteral("第一章 春\r\n春天的故事。\r\n")));
        Release(c.编辑框_内容, Qt::Key_Left, Qt::ShiftModifier);
        Release(c.编辑框_内容, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(c.列表框_章节->Selection(), 3);
        QCOMPARE(c.编辑框_内容->Text(), ReaderFixture::AsShownInPane(QStringLiteral("第三章 秋\r\n秋天的故事。")));
        Release(c.编辑框_内容, Qt::Key_Right);
        QCOMPARE(c.列表框_章节->Selection(), 0);
        Release(c.编辑框_内容, Qt::Key_Up);
        QCOMPARE(c.列表框_章节->Selection(), 0);
        // With Alt the arrows are 返回 and 前进's, no chapter steps.
        Release(c.编辑框_内容, Qt::Key_Right, Qt::AltModifier);
        Release(c.编辑框_内容, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(c.列表框_章节->Selection(), 0);
    }

    void pagingPastAChapter_readsOnWithoutWrapping()
    {
        ReaderFixture reader;
        const ReaderControls &c = OpenBook(reader, kBook);
        const auto press = [&](Qt::Key key) { QTest::keyClick(c.编辑框_内容, key); };
        press(Qt::Key_PageUp); // chapter 0 has none before it
        QCOMPARE(c.列表框_章节->Selection(), 0);
        press(Qt::Key_Space);
        QCOMPARE(c.列表框_章节->Selection(), 1);
        QCOMPARE(c.编辑框_内容->verticalScrollBar()->value(), 0);
        press(Qt::Key_End);
        press(Qt::Key_PageDown);
        press(Qt::Key_PageDown);
        QCOMPARE(c.列表框_章节->Selection(), 3);
        press(Qt::Key_Space); // the last chapter does not wrap
        QCOMPARE(c.列表框_章节->Selection(), 3);
        press(Qt::Key_Home);
        press(Qt::Key_PageUp);
        QCOMPARE(c.列表框_章节->Selection(), 2);
        QCOMPARE(c.编辑框_内容->Text(), ReaderFixture::AsShownInPane(QStringLiteral("第二章 夏\r\n夏天的故事。\r\n")));
    }

    void userSelectionInTheList_showsThatChapter()
    {
        ReaderFixture reader;
        const ReaderControls &c = OpenBook(reader, kBook);
        ReaderFixture::Choose(*c.列表框_章节, 2);
        QCOMPARE(c.编辑框_内容->Text(), ReaderFixture::AsShownInPane(QStringLiteral("第二章 夏\r\n夏天的故事。\r\n")));
    }

    void delete_selectsTheChapterNowHoldingTheText_andTheArrowGoesOnFromThere()
    {
        ReaderFixture reader;
        const ReaderControls &c = OpenBook(reader, kBook);
        ReaderFixture::Choose(*c.列表框_章节, 2);
        const QString shown = c.编辑框_内容->Text();
        Release(c.列表框_章节, Qt::Key_Delete);
        QCOMPARE(c.列表框_章节->Count(), 3);
        QCOMPARE(reader.Session().Book().ChapterCount(), 3);
        QCOMPARE(c.列表框_章节->ItemText(2), QStringLiteral("第三章 秋\r"));
        QCOMPARE(c.列表框_章节->Selection(), 1);
        QCOMPARE(c.编辑框_内容->Text(), shown);
        Release(c.编辑框_内容, Qt::Key_Right);
        QCOMPARE(c.编辑框_内容->Text(), ReaderFixture::AsShownInPane(QStringLiteral("第三章 秋\r\n秋天的故事。")));
        ReaderFixture::Choose(*c.列表框_章节, 0);
        Release(c.列表框_章节, Qt::Key_Delete);
        QCOMPARE(c.列表框_章节->Selection(), -1);
        QCOMPARE(reader.Session().ShownChapter(), -1);
        // With no chapter selected, Delete removes nothing.
        Release(c.列表框_章节, Qt::Key_Delete);
        QCOMPARE(c.列表框_章节->Count(), 2);
    }

    void outOfRangeChapters_leaveThePaneAsItIs()
    {
        ReaderFixture reader;
        const ReaderControls &c = OpenBook(reader, kBook);
        reader.ShowChapter(2);
        const QString shown = c.编辑框_内容->Text();
        for (int n : {-2, -1, 4, 99})
            reader.ShowChapter(n);
        QCOMPARE(c.编辑框_内容->Text(), shown);
        QCOMPARE(c.列表框_章节->Selection(), 2);
        // The head item removed: no chapter is selected, and the pane keeps
        // the text that now belongs to none.
        ReaderFixture::Choose(*c.列表框_章节, 0);
        const QString head = c.编辑框_内容->Text();
        Release(c.列表框_章节, Qt::Key_Delete);
        QCOMPARE(c.列表框_章节->Selection(), -1);
        Release(c.编辑框_内容, Qt::Key_Left); // asks for chapter -2
        QCOMPARE(c.编辑框_内容->Text(), head);
    }

    void lfNovelWithBareAndLongNumberedHeadings_everyChapterIsReachable()
    {
        NovelOptions options;
        options.seed = 7;
        options.chapters = 300;
        options.charactersPerChapter = 300;
        options.crLf = false;
        options.bareHeadings = true;
        options.longNumbers = true;
        const Novel novel = GenerateNovel(options);
        ReaderFixture reader;
        const ReaderControls &c = OpenBook(reader, novel.text);
        QCOMPARE(c.列表框_章节->Count(), novel.headings.size() + 1);
        for (int n = 1; n < c.列表框_章节->Count(); n += 37) {
            reader.ShowChapter(n);
            const PlantedHeading &heading = novel.headings.at(n - 1);
            QCOMPARE(c.列表框_章节->ItemText(n), heading.text);
            QVERIFY(c.编辑框_内容->Text().startsWith(heading.text));
        }
    }

    void noBookLoaded_navigationDoesNothing()
    {
        ReaderFixture reader;
        reader.AddBook(QStringLiteral("book.txt"), EncodeCodePage(kBook));
        reader.WriteSettingsForBookFolder();
        reader.Start();
        const ReaderControls &c = reader.Controls();
        Release(c.编辑框_内容, Qt::Key_Right);
        reader.ShowChapter(0);
        QCOMPARE(c.编辑框_内容->Text(), QString());
        QCOMPARE(c.列表框_章节->Selection(), -1);
    }
};

FOLIVAR_TEST(NavigationTest)
#include "NavigationTest.moc"
