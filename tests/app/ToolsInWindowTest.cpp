#include "core/CodePage.h"
#include "session/ChapterRuleChoice.h"
#include "support/ModalDriver.h"
#include "support/NovelGenerator.h"
#include "support/ReaderFixture.h"
#include "support/TestRegistry.h"
#include "sync/BookSync.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/MessageStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The tools as the user reaches them: through the window's menus.
class ToolsInWindowTest : public QObject {
    Q_OBJECT
private:
    static QAction *MenuItem(MainWindow &window, const QString &text)
    {
        for (QAction *menu : window.menuBar()->actions())
            for (QAction *item : menu->menu()->actions())
                if (item->text() == text)
                    return item;
        return nullptr;
    }

    static const QString &Book()
    {
        static const QString book =
            QStringLiteral("书\r\n第一章 头发\r\n头发、发展、里面、后来\r\n第二章 乾燥\r\n干燥的风。");
        return book;
    }

    static MainWindow &StartAtChapterOne(ReaderFixture &reader)
    {
        reader.AddBook(QStringLiteral("a.txt"), EncodeCodePage(Book()));
        reader.WriteSettings({QStringLiteral("Config/路径=") + reader.BookFolder() + QLatin1Char('/'),
                              QStringLiteral("Config/书=0"), QStringLiteral("Config/章=1")});
        return reader.Start();
    }

private Q_SLOTS:
    // A rule that cuts elsewhere keeps the reader on the text they were
    // reading: in the chapter that now holds the start of the one shown, the
    // same line on top while that chapter holds it.
    void chapterRuleChange_keepsTheLineOnTop()
    {
        QString book = u"书\r\n第一章 起\r\n"_s;
        for (int i = 0; i < 80; ++i)
            book += u"　　第%1段"_s.arg(i) + QString(40, QChar(0x6587)) + u"\r\n"_s;
        book += u"他第一次回家，门外下着雨。\r\n"_s + QString(400, QChar(0x96E8)) + u"\r\n第二章 终\r\n尾声。"_s;
        ReaderFixture reader;
        reader.AddBook(u"a.txt"_s, EncodeCodePage(book));
        reader.WriteSettings(
            {u"Config/路径="_s + reader.BookFolder() + u'/', u"Config/书=0"_s, u"Config/章=1"_s, u"Config/行=12"_s});
        reader.Start();
        ReadingSession &session = reader.Session();
        EditBox *pane = reader.Controls().编辑框_内容;
        const QString top = pane->Text().mid(pane->FirstVisibleTextPosition(), 8);
        const ReaderFixture::LoadWatch strict(reader);
        session.RuleChoice().OnChooseChapterRule({ChapterRule::Strict, {}});
        strict.Wait();
        QCOMPARE(session.ShownChapter(), 1);
        QCOMPARE(pane->Text().mid(pane->FirstVisibleTextPosition(), 8), top);
        // Back to the default rule on the false heading 第一次回家, then strict:
        // the chapter that holds it, from its top.
        const ReaderFixture::LoadWatch back(reader);
        session.RuleChoice().OnChooseChapterRule({});
        back.Wait();
        reader.ShowChapter(2);
        QVERIFY(pane->Text().startsWith(u"第一次回家"_s));
        const ReaderFixture::LoadWatch again(reader);
        session.RuleChoice().OnChooseChapterRule({ChapterRule::Strict, {}});
        again.Wait();
        QCOMPARE(session.ShownChapter(), 1);
        QVERIFY(pane->Text().startsWith(u"第一章 起"_s));
    }

    void traditionalThenSimplified_rewritesOnlyThePane()
    {
        ReaderFixture reader;
        MainWindow &window = StartAtChapterOne(reader);
        const ReaderControls &c = reader.Controls();
        const QString bookText = reader.BookText();

        MenuItem(window, QStringLiteral("繁体"))->trigger();
        QCOMPARE(c.编辑框_内容->Text(), QStringLiteral("第一章 頭髮\n頭髮、發展、裏面、後來\n"));
        MenuItem(window, QStringLiteral("简体"))->trigger();
        QCOMPARE(c.编辑框_内容->Text(), QStringLiteral("第一章 头发\n头发、发展、里面、后来\n"));
        QCOMPARE(reader.BookText(), bookText);
        QCOMPARE(c.列表框_章节->ItemText(1), QStringLiteral("第一章 头发\r"));
    }

    // 繁体 stays with the book, across chapters and a restart, until 原文.
    void traditional_staysForTheBookUntilOriginal()
    {
        ReaderFixture reader;
        MenuItem(StartAtChapterOne(reader), QStringLiteral("繁体"))->trigger();
        QTest::keyRelease(reader.Controls().编辑框_内容, Qt::Key_Right);
        QCOMPARE(reader.Controls().编辑框_内容->Text(), QStringLiteral("第二章 乾燥\n乾燥的風。"));
        reader.Close();
        MainWindow &again = reader.Start();
        QCOMPARE(reader.Controls().编辑框_内容->Text(), QStringLiteral("第二章 乾燥\n乾燥的風。"));
        MenuItem(again, QStringLiteral("原文"))->trigger();
        QCOMPARE(reader.Controls().编辑框_内容->Text(), QStringLiteral("第二章 乾燥\n干燥的风。"));
    }

    void folderChooser_opensAtTheBookFolder_orAtHomeWithoutOne()
    {
        for (const bool folderExists : {true, false}) {
            ReaderFixture reader;
            const QString folder = folderExists ? reader.BookFolder() : reader.BookFolder() + QStringLiteral("/gone");
            reader.WriteSettings({QStringLiteral("Config/路径=") + folder + QLatin1Char('/')});
            MainWindow &window = reader.Start();
            QString openedAt;
            ModalDriver driver(
                [](QDialog *dialog) { return qobject_cast<QFileDialog *>(dialog) != nullptr; },
                [&](QDialog *dialog) { openedAt = static_cast<QFileDialog *>(dialog)->directory().path(); });
            MenuItem(window, QStringLiteral("打开文件"))->trigger();
            QCOMPARE(openedAt, folderExists ? QDir(folder).path() : QDir::homePath());
        }
    }

    void conversionWithoutABook_leavesThePaneEmpty()
    {
        ReaderFixture reader;
        reader.AddBook(QStringLiteral("a.txt"), EncodeCodePage(QStringLiteral("书\r\n正文")));
        reader.WriteSettingsForBookFolder();
        MainWindow &window = reader.Start();
        MenuItem(window, QStringLiteral("繁体"))->trigger();
        MenuItem(window, QStringLiteral("简体"))->trigger();
        QCOMPARE(reader.Controls().编辑框_内容->Text(), QString());
    }

    // 热键… takes the key pressed in its dialog at once and config.ini
    // follows; cancelled, it changes nothing. Offscreen there are no global
    // keys: the strip says the key cannot be had, and no box pops up.
    void hotKeyItem_takesTheKeyChosen_andCancelChangesNothing()
    {
        const QByteArray sessionType = qgetenv("XDG_SESSION_TYPE");
        const auto restore = qScopeGuard([&sessionType] { qputenv("XDG_SESSION_TYPE", sessionType); });
        qputenv("XDG_SESSION_TYPE", "x11"); // our own dialog, not a desktop's
        ReaderFixture reader;
        reader.WriteSettingsForBookFolder();
        MainWindow &window = reader.Start();
        const auto pressInDialog = [](const QKeySequence &keys) {
            return [keys](QDialog *dialog) {
                auto *edit = dialog->findChild<QKeySequenceEdit *>();
                for (int i = 0; i < keys.count(); ++i)
                    QTest::keyClick(edit, keys[i].key(), keys[i].keyboardModifiers());
            };
        };
        const auto isHotKeyDialog = [](QDialog *dialog) { return dialog->windowTitle() == u"热键"_s; };
        {
            ModalDriver driver(isHotKeyDialog, pressInDialog(QKeySequence::fromString(u"Ctrl+Alt+J, Return"_s)));
            MenuItem(window, u"热键…"_s)->trigger();
        }
        QCOMPARE(reader.Services().hotKey.Setting(), u"Ctrl+Alt+J"_s);
        QVERIFY(reader.Controls().标签_提示->text().contains(u"Ctrl+Alt+J 无法使用"_s));
        QTRY_VERIFY_WITH_TIMEOUT(reader.SettingsBytes().contains("=Ctrl+Alt+J\r\n"), 5000);
        {
            ModalDriver driver(isHotKeyDialog, pressInDialog(QKeySequence::fromString(u"Ctrl+K, Esc"_s)));
            MenuItem(window, u"热键…"_s)->trigger();
        }
        QCOMPARE(reader.Services().hotKey.Setting(), u"Ctrl+Alt+J"_s);
        reader.Close();
        QVERIFY(reader.SettingsBytes().contains("=Ctrl+Alt+J\r\n"));
    }

    // 同步… warns before a password would go in clear to another computer,
    // for 测试连接 and for 确定 with 启用, goes on once the user agrees, and
    // asks once per address.
    void syncItem_warnsOncePerAddress_beforeAPasswordGoesInClear()
    {
        ReaderFixture reader;
        reader.WriteSettingsForBookFolder();
        MainWindow &window = reader.Start();
        struct Seen {
            QString verdict;
            bool open = false;
        };
        const auto press = [](QDialog *dialog, const QString &text) {
            for (QPushButton *button : dialog->findChildren<QPushButton *>())
                if (button->isVisible() && (button->text() == text || (text.isEmpty() && button->isDefault())))
                    return button->click();
            QFAIL(qPrintable(u"no button "_s + text));
        };
        // Fills the dialog in, then presses the buttons named ("" for 确定);
        // what the dialog says and whether it is still open after each.
        const auto drive = [&](const QString &address, bool enable, const QStringList &buttons) {
            QList<Seen> seen;
            ModalDriver driver([](QDialog *dialog) { return dialog->windowTitle() == u"同步"_s; },
                               [&](QDialog *dialog) {
                                   const QList<QLineEdit *> fields = dialog->findChildren<QLineEdit *>();
                                   fields[0]->setText(address);
                                   fields[1]->setText(u"u"_s);
                                   fields[2]->setText(u"p"_s);
                                   dialog->findChild<QCheckBox *>()->setChecked(enable);
                                   for (const QString &button : buttons) {
                                       press(dialog, button);
                                       QStringList said;
                                       for (const QLabel *label : dialog->findChildren<QLabel *>())
                                           said.append(label->text());
                                       seen.append({said.join(u'\n'), dialog->isVisible()});
                                   }
                               });
            MenuItem(window, u"同步…"_s)->trigger();
            return seen;
        };
        const QString warning = u"此地址未加密，密码会以明文发送"_s;
        const QString agree = u"仍然使用此地址(&Y)"_s;
        const QString test = u"测试连接(&T)"_s;
        const QString remote = u"http://192.0.2.10/dav/"_s;
        BookSync &sync = reader.Services().sync;

        QList<Seen> seen = drive(remote, false, {test, agree});
        QVERIFY(seen[0].verdict.contains(warning));
        QVERIFY(!seen[0].verdict.contains(u"正在连接"_s));
        QVERIFY(seen[1].verdict.contains(u"正在连接"_s));
        QVERIFY(!sync.Account().enabled);

        seen = drive(remote, true, {test, QString()});
        QVERIFY(seen[0].verdict.contains(u"正在连接"_s));
        QVERIFY(!seen[1].open);
        QCOMPARE(sync.Account().address, remote);
        QVERIFY(sync.Account().enabled);

        seen = drive(u"http://192.0.2.11/dav/"_s, true, {QString()});
        QVERIFY(seen[0].verdict.contains(warning));
        QVERIFY(seen[0].open);
        QCOMPARE(sync.Account().address, remote);
    }

    void helpMenu_startsTheBrowserOncePerCommandEvenWhenHidden()
    {
        QTemporaryDir bin;
        const QString log = bin.filePath(QStringLiteral("calls"));
        QFile browser(bin.filePath(QStringLiteral("IEXPLORE.EXE")));
        QVERIFY(browser.open(QIODevice::WriteOnly));
        browser.write(QStringLiteral("#!/bin/sh\necho \"$#|$1\" >> '%1'\n").arg(log).toUtf8());
        browser.close();
        browser.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);

        ReaderFixture reader;
        MainWindow &window = reader.Start();
        window.hide();
        for (const QString &item : {QStringLiteral("检查更新"), QStringLiteral("官方网站"), QStringLiteral("网址导航")})
            MenuItem(window, item)->trigger();
        qputenv("PATH", path);

        auto calls = [&log] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly)
                ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                : QStringList();
        };
        QTRY_COMPARE(calls().size(), 3);
        QStringList seen = calls();
        seen.sort();
        QCOMPARE(seen,
                 (QStringList{QStringLiteral("1|http://folivar.example"),
                              QStringLiteral("1|http://folivar.example/soft/sort042/down-3226.html"),
                              QStringLiteral("1|http://links.folivar.example")}));
    }
};

FOLIVAR_TEST(ToolsInWindowTest)
#include "ToolsInWindowTest.moc"
