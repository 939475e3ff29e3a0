#include "core/TextListModel.h"
#include "platform/HotKeyService.h"
#include "support/ModalDriver.h"
#include "support/TestRegistry.h"
#include "ui/BusyCursor.h"
#include "ui/ChapterJumpDialog.h"
#include "ui/ChapterRuleDialog.h"
#include "ui/CleanupRulesDialog.h"
#include "ui/CleanupRulesModel.h"
#include "ui/EditBox.h"
#include "ui/HotKeyDialog.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"
#include "ui/ShapedText.h"
#include "ui/ShownTextPositions.h"
#include "ui/VirtualKey.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {

// A list of texts that the test fills and empties.
class Texts : public TextListModel {
public:
    void Set(const QStringList &texts) { SetTexts(texts); }
    void Remove(int row) { RemoveText(row); }
};

CleanupRule PlainRule(const QString &name)
{
    CleanupRule rule;
    rule.name = name;
    rule.pattern = name + name;
    return rule;
}

QList<CleanupRule> PlainRules(const QStringList &names)
{
    QList<CleanupRule> rules;
    for (const QString &name : names)
        rules.append(PlainRule(name));
    return rules;
}

QStringList RuleNames(const QList<CleanupRule> &rules)
{
    QStringList names;
    for (const CleanupRule &rule : rules)
        names.append(rule.name);
    return names;
}

void ClickButton(const QWidget *dialog, const QString &text)
{
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        if (button->text() == text)
            return button->click();
    }
    QFAIL(qPrintable(u"no button "_s + text));
}

QString LineText(const QWidget *dialog, const QString &accessibleName)
{
    for (const QLabel *label : dialog->findChildren<QLabel *>()) {
        if (label->accessibleName() == accessibleName)
            return label->text();
    }
    return u"no line "_s + accessibleName;
}

} // namespace

class ControlLayerTest : public QObject {
    Q_OBJECT
private:
    static QString WrappedParagraphs(int paragraphs)
    {
        QStringList lines;
        for (int i = 0; i < paragraphs; ++i)
            lines << QStringLiteral("第%1段　").arg(i) + QString(40 + (i * 37) % 160, QChar(0x6587));
        return lines.join(QLatin1Char('\n'));
    }

    // Where the display line holding `position` of the document starts, in
    // the viewport.
    static int LineTop(EditBox &pane, int position)
    {
        QTextCursor cursor(pane.document());
        cursor.setPosition(position);
        return pane.cursorRect(cursor).top();
    }

    // The box around the viewport's pixels of exactly that colour; empty for none.
    static QRect BoxOfColour(EditBox &pane, const QColor &colour)
    {
        const QImage image = pane.viewport()->grab().toImage();
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    static void ShowPane(EditBox &pane, const QString &text)
    {
        pane.resize(400, 300);
        pane.SetFontName(QStringLiteral("Noto Sans CJK SC"));
        pane.SetFontSize(12);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetText(text);
    }

private Q_SLOTS:
    void listWritesFromCode_andModelChanges_raiseNoUserSelection()
    {
        Texts texts;
        ListBox list;
        list.SetModel(&texts);
        list.show();
        QSignalSpy spy(&list, &ListBox::userSelectionChanged);
        texts.Set({u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s});
        list.SetSelection(3);
        QCOMPARE(list.Selection(), 3);
        // The current row removed, and the rows before it: the view moves its
        // selection itself, which is no choice of the user's.
        texts.Remove(3);
        texts.Remove(0);
        list.SetSelection(-1);
        QCOMPARE(list.Selection(), -1);
        list.SetSelection(1);
        texts.Set({u"x"_s, u"y"_s});
        QCOMPARE(list.Selection(), -1);
        list.SetSelection(7);
        QCOMPARE(list.Selection(), -1);
        QCOMPARE(spy.count(), 0);
    }

    void listUserSelection_isReported()
    {
        Texts texts;
        ListBox list;
        list.SetModel(&texts);
        texts.Set({u"a"_s, u"b"_s});
        list.show();
        QSignalSpy spy(&list, &ListBox::userSelectionChanged);
        list.setFocus();
        list.SetSelection(0);
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.Selection(), 1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.last().at(0).toInt(), 1);
        // A right click only opens the list's menu: it selects nothing.
        const QPoint firstRow = list.visualRect(texts.index(0)).center();
        QTest::mousePress(list.viewport(), Qt::RightButton, {}, firstRow);
        QTest::mouseRelease(list.viewport(), Qt::RightButton, {}, firstRow);
        QCOMPARE(list.Selection(), 1);
        QCOMPARE(spy.count(), 1);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, firstRow);
        QCOMPARE(list.Selection(), 0);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.last().at(0).toInt(), 0);
    }

    void listItems_keepTheirWholeText_areShownCut_andReadWithoutTheLineEnd()
    {
        Texts texts;
        ListBox list;
        list.SetModel(&texts);
        const QString longTitle = u"第一章 "_s + QString(5000, QChar(0x957F)) + u"\r"_s;
        texts.Set({u"第一章\r"_s, u"plain"_s, longTitle});
        QCOMPARE(list.Count(), 3);
        QCOMPARE(list.ItemText(0), u"第一章\r"_s);
        QCOMPARE(list.ItemText(1), u"plain"_s);
        QCOMPARE(list.ItemText(2), longTitle);
        QCOMPARE(list.ItemText(7), QString());
        QCOMPARE(texts.index(0).data(Qt::AccessibleTextRole).toString(), u"第一章"_s);
        const QString shown = texts.index(2).data(Qt::DisplayRole).toString();
        QCOMPARE(shown.size(), TextListModel::kLongestShownText + 1);
        QVERIFY(shown.endsWith(QChar(0x2026)));
    }

    void notifications_arriveLaterInOrderWithBothIntegers()
    {
        NotifyLabel label(QStringLiteral("x"));
        QList<QPair<int, int>> received;
        connect(&label, &NotifyLabel::notified, this, [&](int a, int b) { received.append({a, b}); });
        label.Post(40, 0);
        label.Post(80, 7);
        label.Post(100, -3);
        QVERIFY(received.isEmpty());
        QTRY_COMPARE(received.size(), 3);
        QCOMPARE(received, (QList<QPair<int, int>>{{40, 0}, {80, 7}, {100, -3}}));
    }

    void paneWritesFromCode_keepValues()
    {
        EditBox pane;
        pane.SetText(QStringLiteral("正文"));
        pane.SetFontName(QStringLiteral("Noto Serif CJK SC"));
        pane.SetFontSize(17);
        pane.SetTextColour(0x123456);
        pane.SetBackgroundColour(16777215);
        QCOMPARE(pane.Text(), QStringLiteral("正文"));
        QCOMPARE(pane.FontName(), QStringLiteral("Noto Serif CJK SC"));
        QCOMPARE(pane.FontSize(), 17);
        QCOMPARE(pane.TextColour(), 0x123456);
        QCOMPARE(pane.BackgroundColour(), 16777215);
    }

    void paneFontSizeOutsideTheDrawableRange_isKeptOrCapped()
    {
        EditBox pane;
        pane.SetFontSize(17);
        pane.SetFontSize(0);
        pane.SetFontSize(-3);
        QCOMPARE(pane.FontSize(), 17);
        pane.SetFontSize(100000);
        QCOMPARE(pane.FontSize(), 512);
        pane.SetFontSize(1);
        QCOMPARE(pane.FontSize(), 1);
    }

    void paneColoursOutside24Bits_keepTheirLowBytes()
    {
        EditBox pane;
        pane.SetTextColour(-5);
        pane.SetBackgroundColour(0x7FFFFFFF);
        QCOMPARE(pane.TextColour(), 0xFFFFFB);
        QCOMPARE(pane.BackgroundColour(), 0xFFFFFF);
    }

    void newText_startsAtItsTop_evenWithLinesTallerThanThePane()
    {
        EditBox pane;
        pane.resize(300, 200);
        pane.SetFontName(QStringLiteral("Noto Sans CJK SC"));
        pane.SetFontSize(200);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetText(WrappedParagraphs(5));
        pane.ScrollLines(3);
        pane.SetText(WrappedParagraphs(6));
        QCOMPARE(pane.FirstVisibleLine(), 0);
        pane.ScrollLines(7);
        QCOMPARE(pane.FirstVisibleLine(), 7);
    }

    void firstVisibleLine_roundTripsOnWrappedText()
    {
        EditBox pane;
        pane.resize(300, 200);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetText(WrappedParagraphs(400));
        QCOMPARE(pane.FirstVisibleLine(), 0);
        for (int n : {1, 7, 250, 903}) {
            pane.SetText(pane.Text());
            pane.ScrollLines(n);
            QCOMPARE(pane.FirstVisibleLine(), n);
        }
        pane.ScrollLines(-3);
        QCOMPARE(pane.FirstVisibleLine(), 900);
    }

    void scrollOnUnwrappedLines_putsThatLineOnTop()
    {
        EditBox pane;
        pane.resize(400, 200);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QStringList lines;
        for (int i = 0; i < 600; ++i)
            lines << QStringLiteral("line %1").arg(i);
        pane.SetText(lines.join(QLatin1Char('\n')));
        pane.ScrollLines(250);
        QCOMPARE(pane.cursorForPosition(QPoint(4, 4)).block().text(), QStringLiteral("line 250"));
        QCOMPARE(pane.FirstVisibleLine(), 250);
    }

    void scrollBeyondTheText_stopsAtTheLastLine()
    {
        EditBox pane;
        pane.resize(300, 200);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetText(WrappedParagraphs(20));
        pane.ScrollLines(1000000);
        const int last = pane.FirstVisibleLine();
        QVERIFY(last > 0);
        pane.ScrollLines(1);
        QCOMPARE(pane.FirstVisibleLine(), last);
    }

    // Whatever moves the first visible line (paging, Home and End, the
    // caret brought into view by Qt itself, a selection shown), the pane
    // reports where it stands now.
    void pagingKeys_pageWithinTheText_andReportPagingPastItsEnds_andEveryMove()
    {
        EditBox pane;
        pane.resize(300, 200);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetText(WrappedParagraphs(60));
        QSignalSpy past(&pane, &EditBox::pagedPastText);
        QSignalSpy moved(&pane, &EditBox::topLineChanged);
        const auto reportsTop = [&] {
            return !moved.isEmpty() && moved.last().at(0).toInt() == pane.FirstVisibleLine()
                && moved.last().at(1).value<qsizetype>() == pane.FirstVisibleTextPosition();
        };
        QScrollBar *bar = pane.verticalScrollBar();
        QTest::keyClick(&pane, Qt::Key_Space);
        QTest::keyClick(&pane, Qt::Key_PageDown);
        QCOMPARE(bar->value(), 2 * bar->pageStep());
        QVERIFY(reportsTop());
        QCOMPARE(past.count(), 0);
        QTest::keyClick(&pane, Qt::Key_End);
        QTRY_COMPARE(bar->value(), bar->maximum());
        QVERIFY(reportsTop());
        QTest::keyClick(&pane, Qt::Key_Space);
        QTest::keyClick(&pane, Qt::Key_Space, Qt::ShiftModifier);
        QVERIFY(bar->value() < bar->maximum());
        QVERIFY(reportsTop());
        QTest::keyClick(&pane, Qt::Key_Home);
        QCOMPARE(bar->value(), 0);
        QVERIFY(reportsTop());
        QTest::keyClick(&pane, Qt::Key_PageUp);
        QCOMPARE(past.count(), 2);
        QCOMPARE(past[0][0].toInt(), 1);
        QCOMPARE(past[1][0].toInt(), -1);
        QCOMPARE(pane.cursorWidth(), 0); // no blinking caret in a pane nobody types in
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(&pane, Qt::Key_Down);
        QVERIFY(bar->value() > 0);
        QVERIFY(reportsTop());
        pane.SelectText(pane.Text().size() / 2, 4);
        QVERIFY(reportsTop());
    }

    void textPositions_followCrLfAndTheBreaksOfLongParagraphs()
    {
        // The document shows 甲 CR LF as 甲 and one break; a break put in for
        // display stands before 己.
        const ShownTextPositions positions(QStringLiteral("甲\r\n乙丙\r\n丁戊己庚"), {9});
        const QList<std::pair<qsizetype, qsizetype>> pairs = {{0, 0}, {3, 2}, {4, 3}, {7, 5}, {9, 8}, {10, 9}};
        for (const auto &[text, document] : pairs) {
            QCOMPARE(positions.DocumentPosition(text), document);
            QCOMPARE(positions.TextPosition(document), text);
        }
        EditBox pane;
        pane.resize(300, 200);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        const QString text = QStringLiteral("甲\r\n乙丙\r\n丁戊\r\n") + WrappedParagraphs(40);
        pane.SetText(text);
        pane.SelectText(4, 2);
        QCOMPARE(pane.textCursor().selectedText(), QStringLiteral("丙\u2029"));
        pane.SelectText(7, 2);
        QCOMPARE(pane.textCursor().selectedText(), QStringLiteral("丁戊"));
        const qsizetype paragraph = text.indexOf(QStringLiteral("第30段"));
        pane.ScrollToTextPosition(paragraph);
        QCOMPARE(pane.FirstVisibleTextPosition(), paragraph);
    }

    void busyCursor_showsOnlyForLongWork_andGoesWithIt()
    {
        {
            const BusyCursor quick;
        }
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        {
            const BusyCursor slow;
            QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
            QTRY_VERIFY(QGuiApplication::overrideCursor());
            QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
        }
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void listColours_markTheSelectionBetweenTextAndBackground()
    {
        ListBox list;
        list.SetColours(0xE0E0E0, 0x202020);
        const QPalette p = list.palette();
        QCOMPARE(p.color(QPalette::Base), QColor(0x20, 0x20, 0x20));
        QCOMPARE(p.color(QPalette::Text), QColor(0xE0, 0xE0, 0xE0));
        const QColor selection = p.color(QPalette::Inactive, QPalette::Highlight);
        QVERIFY(selection.lightness() > 0x20 && selection.lightness() < 0x80);
        QCOMPARE(p.color(QPalette::HighlightedText), QColor(0xE0, 0xE0, 0xE0));
    }

    void chapterRuleDialog_confirmsOnlyAFreshUsableCheck_andWarnsOnceOfNothingFound()
    {
        ChapterRuleDialog dialog(QStringLiteral("^Chapter"), nullptr);
        QSignalSpy settled(&dialog, &ChapterRuleDialog::patternSettled);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        const QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        QTRY_COMPARE(settled.count(), 1);
        QCOMPARE(settled.at(0).at(0).toString(), QStringLiteral("^Chapter"));
        dialog.ShowCheck(QStringLiteral("^Chapter"), QStringLiteral("表达式有误"), 0, {});
        dialog.accept();
        QVERIFY(!ok->isEnabled());

        QTest::keyClicks(dialog.findChild<QLineEdit *>(), QStringLiteral(" \\d"));
        dialog.ShowCheck(QStringLiteral("^Chapter"), QString(), 5, {}); // for the text before the typing
        QVERIFY(!ok->isEnabled());
        QTRY_COMPARE(settled.count(), 2);
        QCOMPARE(settled.at(1).at(0).toString(), QStringLiteral("^Chapter \\d"));
        dialog.ShowCheck(QStringLiteral("^Chapter \\d"), QString(), 0, {});
        QVERIFY(ok->isEnabled());
        dialog.accept();
        QCOMPARE(accepted.count(), 0);
        dialog.accept();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dialog.Pattern(), QStringLiteral("^Chapter \\d"));
    }

    void paragraphRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("indentation");
        QTest::addColumn<int>("blankLines");
        QTest::addColumn<QString>("shown");
        const QString book = QStringLiteral("第一章\r\n  甲乙。\r\n\r\n \u3000\r\n\r\n\u3000\u3000丙丁\r\n\t戊\r\n");
        const auto row = [&](const char *name, Indentation indentation, BlankLines blankLines, const char16_t *shown) {
            QTest::newRow(name) << book << int(indentation) << int(blankLines) << QString::fromUtf16(shown);
        };
        row("as in the file", Indentation::AsInFile, BlankLines::Keep,
            u"第一章\r\n  甲乙。\r\n\r\n \u3000\r\n\r\n\u3000\u3000丙丁\r\n\t戊\r\n");
        row("two full-width spaces", Indentation::TwoFullWidth, BlankLines::Keep,
            u"\u3000\u3000第一章\r\n\u3000\u3000甲乙。\r\n\r\n \u3000\r\n\r\n\u3000\u3000丙丁\r\n\u3000\u3000戊\r\n");
        row("no indentation, runs collapsed", Indentation::None, BlankLines::Collapse,
            u"第一章\r\n甲乙。\r\n\r\n丙丁\r\n戊\r\n");
        row("blank lines removed", Indentation::AsInFile, BlankLines::Remove,
            u"第一章\r\n  甲乙。\r\n\u3000\u3000丙丁\r\n\t戊\r\n");
        QTest::addRow("LF and CR alone") << QStringLiteral("甲\n\n乙\r \r丙") << int(Indentation::TwoFullWidth)
                                         << int(BlankLines::Remove)
                                         << QStringLiteral("\u3000\u3000甲\n\u3000\u3000乙\r\u3000\u3000丙");
    }

    // Every character shown maps back to its own place in the text, and
    // every paragraph's first character to where it is shown.
    void paragraphRules()
    {
        QFETCH(QString, text);
        QFETCH(int, indentation);
        QFETCH(int, blankLines);
        QFETCH(QString, shown);
        const ShapedText shaped(text, Indentation(indentation), BlankLines(blankLines));
        QCOMPARE(shaped.Shown(), shown);
        // A character shown maps to itself, or, at the start of its line or
        // added there, to the start of its line in the text; a place found
        // that way maps back to itself.
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const qsizetype position = shaped.TextPosition(i);
            const bool lineStart = position == 0 || text.at(position - 1) == u'\n' || text.at(position - 1) == u'\r';
            QVERIFY2(text.at(position) == shown.at(i) || lineStart, qPrintable(QString::number(i)));
            QCOMPARE(shaped.TextPosition(shaped.ShownPosition(position)), position);
        }
        for (const QString &paragraph : {QStringLiteral("甲乙"), QStringLiteral("丙丁"), QStringLiteral("戊")}) {
            const qsizetype at = text.indexOf(paragraph);
            if (at >= 0)
                QCOMPARE(shown.at(shaped.ShownPosition(at)), paragraph.at(0));
        }
    }

    void lineSpacing_spacesLinesAndParagraphs()
    {
        EditBox pane;
        ShowPane(pane, WrappedParagraphs(6));
        const QTextBlock first = pane.document()->firstBlock();
        const int secondLine = first.position() + first.layout()->lineAt(1).textStart();
        const int nextParagraph = first.next().position();
        const int pitch = LineTop(pane, secondLine) - LineTop(pane, first.position());
        const int gap = LineTop(pane, nextParagraph) - LineTop(pane, first.position());
        QVERIFY(pitch > 0);
        Typography typography;
        typography.lineSpacing = 2.0;
        pane.SetTextTypography(typography);
        QTRY_VERIFY(qAbs(LineTop(pane, secondLine) - LineTop(pane, first.position()) - 2 * pitch) <= 1);
        const int spacedGap = LineTop(pane, nextParagraph) - LineTop(pane, first.position());
        typography.paragraphSpacing = 1.0;
        pane.SetTextTypography(typography);
        const int lineHeight = QFontMetrics(pane.font()).lineSpacing();
        QTRY_VERIFY(qAbs(LineTop(pane, nextParagraph) - LineTop(pane, first.position()) - spacedGap - lineHeight) <= 1);
        QVERIFY(spacedGap >= 2 * gap - 2);
        // Scrolling still counts display lines.
        pane.ScrollLines(5);
        QCOMPARE(pane.FirstVisibleLine(), 5);
    }

    void marks_arePaintedBehindTheirCharacters_untilANewText_data()
    {
        QTest::addColumn<double>("lineSpacing");
        QTest::newRow("single spacing") << 1.0;
        // The layout moves each line down within the room it gives it.
        QTest::newRow("double spacing") << 2.0;
    }

    void marks_arePaintedBehindTheirCharacters_untilANewText()
    {
        QFETCH(double, lineSpacing);
        EditBox pane;
        ShowPane(pane, WrappedParagraphs(6));
        Typography typography;
        typography.lineSpacing = lineSpacing;
        pane.SetTextTypography(typography);
        // Four characters on the second display line of the first paragraph.
        const QTextBlock first = pane.document()->firstBlock();
        QTRY_VERIFY(first.layout()->lineCount() > 1);
        const int from = first.layout()->lineAt(1).textStart() + 2;
        const QColor green(0, 200, 0);
        pane.SetMarks({{from, 4, green}, {from + 20, 2, QColor(0, 0, 220)}});
        QTextCursor start(pane.document());
        start.setPosition(from);
        QTextCursor end(pane.document());
        end.setPosition(from + 4);
        const QRect line = pane.cursorRect(start);
        QTRY_VERIFY(!BoxOfColour(pane, green).isEmpty());
        const QRect box = BoxOfColour(pane, green);
        QVERIFY2(qAbs(box.left() - line.left()) <= 1 && qAbs(box.right() + 1 - pane.cursorRect(end).left()) <= 1,
                 qPrintable(u"%1..%2, not %3..%4"_s.arg(box.left())
                                .arg(box.right())
                                .arg(line.left())
                                .arg(pane.cursorRect(end).left())));
        QVERIFY2(box.top() >= line.top() - 1 && box.bottom() <= line.bottom() + 1,
                 qPrintable(u"%1..%2 outside the line %3..%4"_s.arg(box.top())
                                .arg(box.bottom())
                                .arg(line.top())
                                .arg(line.bottom())));
        QVERIFY(!BoxOfColour(pane, QColor(0, 0, 220)).isEmpty());
        pane.SetText(WrappedParagraphs(2));
        QTRY_VERIFY(BoxOfColour(pane, green).isEmpty());
    }

    void marginsAndColumn_frameTheText()
    {
        EditBox pane;
        ShowPane(pane, WrappedParagraphs(30));
        const QRect bare = pane.viewport()->geometry();
        Typography typography;
        typography.sideMargin = 30;
        typography.topMargin = 20;
        pane.SetTextTypography(typography);
        QCOMPARE(pane.viewport()->geometry(), bare.adjusted(30, 20, -30, -20));
        // A column of 12 characters, centred, wider margins than asked.
        typography.columnCharacters = 12;
        pane.SetTextTypography(typography);
        const QRect column = pane.viewport()->geometry();
        QVERIFY(qAbs((column.left() - bare.left()) - (bare.right() - column.right())) <= 1);
        const QTextBlock first = pane.document()->firstBlock();
        QTRY_COMPARE(first.layout()->lineAt(1).textStart(), 12);
        // Wider than the pane: the whole pane, less the margins.
        typography.columnCharacters = 200;
        pane.SetTextTypography(typography);
        QCOMPARE(pane.viewport()->geometry(), bare.adjusted(30, 20, -30, -20));
    }

    void typographyChange_keepsTheTextOnTop()
    {
        EditBox pane;
        const QString text = WrappedParagraphs(200).replace(QLatin1Char('\n'), QStringLiteral("\r\n\r\n"));
        ShowPane(pane, text);
        const qsizetype paragraph = text.indexOf(QStringLiteral("第120段"));
        pane.ScrollToTextPosition(paragraph);
        QCOMPARE(pane.FirstVisibleTextPosition(), paragraph);
        QSignalSpy changed(&pane, &EditBox::typographyChanged);
        Typography typography;
        typography.lineSpacing = 1.8;
        typography.indentation = Indentation::TwoFullWidth;
        typography.blankLines = BlankLines::Remove;
        typography.columnCharacters = 20;
        typography.justify = true;
        pane.SetTextTypography(typography);
        QCOMPARE(pane.FirstVisibleTextPosition(), paragraph);
        QVERIFY(pane.Text().startsWith(QStringLiteral("\u3000\u3000第0段")));
        pane.SetTextTypography(Typography{});
        QCOMPARE(pane.FirstVisibleTextPosition(), paragraph);
        QCOMPARE(changed.count(), 2);
        pane.SetTextTypography(Typography{});
        QCOMPARE(changed.count(), 2);
    }

    // A Qt key combination as the hot-key service takes it: -1 for none.
    void hotKeyCombination_data()
    {
        QTest::addColumn<QString>("keys"); // QKeySequence's portable text
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("the key left of 1") << "`" << VK_OEM_3 << 0;
        QTest::newRow("a letter with ctrl and alt") << "Ctrl+Alt+H" << int('H') << int(HotKeyControl | HotKeyAlt);
        QTest::newRow("a function key with super") << "Meta+F12" << VK_F1 + 11 << int(HotKeyWin);
        QTest::newRow("a shifted character is its key with shift")
            << "Ctrl+~" << VK_OEM_3 << int(HotKeyControl | HotKeyShift);
        QTest::newRow("also when Qt left shift out") << "!" << int('1') << int(HotKeyShift);
        QTest::newRow("the main row's plus") << "+" << VK_OEM_PLUS << int(HotKeyShift);
        QTest::newRow("the keypad's plus") << "Num++" << VK_ADD << 0;
        QTest::newRow("a keypad digit") << "Num+5" << VK_NUMPAD0 + 5 << 0;
        QTest::newRow("a punctuation key") << "Alt+[" << VK_OEM_4 << int(HotKeyAlt);
        QTest::newRow("a keypad key that is no digit") << "Num+Home" << -1 << 0;
        QTest::newRow("a character of another layout") << "Ctrl+É" << -1 << 0;
        QTest::newRow("a media key") << "Volume Up" << -1 << 0;
    }

    void hotKeyCombination()
    {
        QFETCH(QString, keys);
        QFETCH(int, virtualKey);
        QFETCH(int, modifiers);
        const QKeySequence sequence = QKeySequence::fromString(keys, QKeySequence::PortableText);
        QCOMPARE(sequence.count(), 1);
        const std::optional<HotKeyCombination> combination = HotKeyCombinationOf(sequence[0]);
        if (virtualKey < 0)
            QCOMPARE(combination, std::nullopt);
        else
            QCOMPARE(combination, (HotKeyCombination{virtualKey, modifiers}));
    }

    // The keys pressed in the dialog, whether they closed it, and what it
    // returns: the key chosen in portable text, empty for none, "gave up" for
    // nothing chosen.
    void hotKeyDialog_data()
    {
        QTest::addColumn<QStringList>("presses"); // portable texts; "无" clicks that button
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QString>("result");
        QTest::newRow("the last combination pressed")
            << QStringList{"Ctrl+A", "Ctrl+Alt+H", "Return"} << true << "Ctrl+Alt+H";
        QTest::newRow("shift stays with a shifted character") << QStringList{"Shift+!", "Return"} << true << "Shift+!";
        QTest::newRow("Esc with a modifier is a key") << QStringList{"Ctrl+Esc", "Return"} << true << "Ctrl+Esc";
        QTest::newRow("无 is none") << QStringList{"无", "Return"} << true << "";
        QTest::newRow("Esc alone gives up") << QStringList{"Ctrl+J", "Esc"} << true << "gave up";
        QTest::newRow("a key without a code cannot be confirmed")
            << QStringList{"Volume Up", "Return"} << false << "gave up";
    }

    void hotKeyDialog()
    {
        QFETCH(QStringList, presses);
        QFETCH(bool, closed);
        QFETCH(QString, result);
        bool closedByKeys = false;
        ModalDriver driver([](QDialog *dialog) { return dialog->findChild<QKeySequenceEdit *>() != nullptr; },
                           [&presses, &closedByKeys](QDialog *dialog) {
                               auto *edit = dialog->findChild<QKeySequenceEdit *>();
                               for (const QString &press : presses) {
                                   if (press == QStringLiteral("无")) {
                                       for (QPushButton *button : dialog->findChildren<QPushButton *>())
                                           if (button->text() == press)
                                               button->click();
                                       continue;
                                   }
                                   const QKeyCombination keys = QKeySequence::fromString(press)[0];
                                   QTest::keyClick(edit, keys.key(), keys.keyboardModifiers());
                               }
                               closedByKeys = !dialog->isVisible();
                           });
        const std::optional<QKeySequence> chosen = AskHotKey(nullptr, QKeySequence(Qt::Key_QuoteLeft));
        QCOMPARE(closedByKeys, closed);
        QCOMPARE(chosen ? chosen->toString(QKeySequence::PortableText) : QStringLiteral("gave up"), result);
    }

    // 跳转到章节: a number that names no chapter is answered with the numbers
    // there are, and the dialog stays for another try.
    void chapterJump_namesTheNumbersThereAre()
    {
        QStringList shown;
        ModalDriver driver([](QDialog *dialog) { return dialog->windowTitle() == u"跳转到章节"_s; },
                           [&shown](QDialog *dialog) {
                               for (const QString &typed : {u"9"_s, u"3"_s}) {
                                   dialog->findChild<QLineEdit *>()->setText(typed);
                                   dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
                                   shown << dialog->findChildren<QLabel *>().constFirst()->text();
                               }
                           });
        const std::optional<int> chapter =
            AskChapterToJump(nullptr, 8, [](const QString &query) { return query == u"3"_s ? 4 : -1; });
        QCOMPARE(shown.constFirst(), u"找不到：9（章节序号为 1–8）"_s);
        QCOMPARE(chapter, 4);
    }

    // The buttons change the list and its order; the selection follows the
    // rule moved, and the hook hears of every change.
    void cleanupRulesDialog_buttonsEditTheList_data()
    {
        QTest::addColumn<QStringList>("clicks"); // the first rule is selected at first
        QTest::addColumn<QStringList>("names");
        QTest::newRow("新建 adds at the end") << QStringList{u"新建(&N)"_s, u"新建(&N)"_s}
                                              << QStringList{u"甲"_s, u"乙"_s, u"丙"_s, u"新规则"_s, u"新规则 (2)"_s};
        QTest::newRow("下移 twice") << QStringList{u"下移(&O)"_s, u"下移(&O)"_s, u"下移(&O)"_s}
                                    << QStringList{u"乙"_s, u"丙"_s, u"甲"_s};
        QTest::newRow("上移 at the top") << QStringList{u"上移(&U)"_s} << QStringList{u"甲"_s, u"乙"_s, u"丙"_s};
        QTest::newRow("down then up") << QStringList{u"下移(&O)"_s, u"下移(&O)"_s, u"上移(&U)"_s}
                                      << QStringList{u"乙"_s, u"甲"_s, u"丙"_s};
        QTest::newRow("删除 the selected")
            << QStringList{u"下移(&O)"_s, u"删除(&D)"_s} << QStringList{u"乙"_s, u"丙"_s};
        QTest::newRow("删除 all, then more clicks")
            << QStringList{u"删除(&D)"_s, u"删除(&D)"_s, u"删除(&D)"_s, u"删除(&D)"_s, u"下移(&O)"_s} << QStringList();
    }

    void cleanupRulesDialog_buttonsEditTheList()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, names);
        QList<CleanupRule> heard = PlainRules({u"甲"_s, u"乙"_s, u"丙"_s});
        CleanupRulesDialog dialog(heard, {u"a.txt"_s, {}, [&heard](const auto &rules) { heard = rules; }}, nullptr);
        dialog.show();
        for (const QString &click : std::as_const(clicks))
            ClickButton(&dialog, click);
        QCOMPARE(RuleNames(dialog.Rules()), names);
        QCOMPARE(heard, dialog.Rules());
    }

    // While the expression is in error, its rule shows off and cannot be
    // ticked, and the preview line says why; mended, it is on again.
    void cleanupRulesDialog_aBadExpressionCannotBeEnabled_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("isRegex");
        QTest::addColumn<QString>("told");
        QTest::newRow("invalid") << u"(第"_s << true << u"表达式有误"_s;
        QTest::newRow("matching empty text") << u"(广告)*"_s << true << u"空文本"_s;
        QTest::newRow("empty") << QString() << false << u"空的"_s;
    }

    void cleanupRulesDialog_aBadExpressionCannotBeEnabled()
    {
        QFETCH(QString, pattern);
        QFETCH(bool, isRegex);
        QFETCH(QString, told);
        const auto preview = [](const CleanupRule &rule) {
            return QtFuture::makeReadyFuture(u"共 3 处：%1"_s.arg(rule.pattern));
        };
        CleanupRulesDialog dialog(PlainRules({u"甲"_s}), {QString(), preview, {}}, nullptr);
        CleanupRulesModel &model = dialog.Model();
        const QModelIndex enabled = model.index(0, CleanupRulesModel::Enabled);
        QTRY_COMPARE(LineText(&dialog, u"预览"_s), u"共 3 处：甲甲"_s);
        QVERIFY(model.setData(model.index(0, CleanupRulesModel::IsRegex), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model.setData(model.index(0, CleanupRulesModel::Pattern), pattern, Qt::EditRole));
        QVERIFY2(LineText(&dialog, u"预览"_s).contains(told), qPrintable(LineText(&dialog, u"预览"_s)));
        QVERIFY(!model.setData(enabled, Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(enabled.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
        QVERIFY(!model.flags(enabled).testFlag(Qt::ItemIsUserCheckable));
        QVERIFY(!dialog.Rules().constFirst().enabled);
        QVERIFY(model.setData(model.index(0, CleanupRulesModel::IsRegex), isRegex, Qt::CheckStateRole));
        QVERIFY(model.setData(model.index(0, CleanupRulesModel::Pattern), u"乙"_s, Qt::EditRole));
        QVERIFY(dialog.Rules().constFirst().enabled);
        QTRY_COMPARE(LineText(&dialog, u"预览"_s), u"共 3 处：乙"_s);
    }

    // 本书 is a choice only with a book open; a rule of another book keeps
    // that book among its choices.
    void cleanupRulesModel_scopeChoices_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("lastScope"); // the scope of the last choice
        QTest::newRow("no book open") << QString() << QString() << QStringList{u"全部书籍"_s} << u"全部书籍"_s
                                      << QString();
        QTest::newRow("the open book's") << u"山城.txt"_s << u"山城.txt"_s << QStringList{u"全部书籍"_s, u"本书"_s}
                                         << u"本书"_s << u"山城.txt"_s;
        QTest::newRow("another book's") << u"山城.txt"_s << u"旧事.txt"_s
                                        << QStringList{u"全部书籍"_s, u"本书"_s, u"旧事.txt"_s} << u"旧事.txt"_s
                                        << u"旧事.txt"_s;
    }

    void cleanupRulesModel_scopeChoices()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, scope);
        QFETCH(QStringList, choices);
        QFETCH(QString, shown);
        QFETCH(QString, lastScope);
        CleanupRule rule = PlainRule(u"甲"_s);
        rule.scope = scope;
        CleanupRulesModel model({rule}, fileName);
        const QModelIndex cell = model.index(0, CleanupRulesModel::Scope);
        QCOMPARE(cell.data(CleanupRulesModel::kChoicesRole).toStringList(), choices);
        QCOMPARE(cell.data(Qt::DisplayRole).toString(), shown);
        QVERIFY(model.setData(cell, int(choices.size()) - 1, Qt::EditRole));
        QCOMPARE(model.Rules().constFirst().scope, lastScope);
        QVERIFY(!model.setData(cell, int(choices.size()), Qt::EditRole));
        QVERIFY(model.setData(model.index(0, CleanupRulesModel::Target), 1, Qt::EditRole));
        QCOMPARE(model.Rules().constFirst().target, CleanupRule::Titles);
    }

    // An import comes after the rules there are; a file that cannot be taken
    // leaves them as they were and is named in the dialog.
    void cleanupRulesDialog_import_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("told");
        QTest::newRow("shared rules") << QByteArray(R"([{"name":"乙","pattern":"x"},{"name":"丙","pattern":"y"}])")
                                      << QStringList{u"甲"_s, u"乙"_s, u"乙 (2)"_s, u"丙"_s}
                                      << u"已从 共享.json 导入 2 条规则"_s;
        QTest::newRow("garbage") << QByteArray("\x89PNG\r\n") << QStringList{u"甲"_s, u"乙"_s}
                                 << u"无法导入 共享.json："_s;
        // "[" as a JSON escape: moc, which reads this file, counts brackets
        // even in raw strings.
        QTest::newRow("one bad rule") << QByteArray(
            R"([{"name":"乙","pattern":"x"},{"name":"坏","pattern":"\u005b","isRegex":true}])")
                                      << QStringList{u"甲"_s, u"乙"_s} << u"无法导入 共享.json：规则“坏”"_s;
    }

    void cleanupRulesDialog_import()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, names);
        QFETCH(QString, told);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"共享.json"_s);
        QFile written(path);
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(file);
        written.close();
        CleanupRulesDialog dialog(PlainRules({u"甲"_s, u"乙"_s}), {}, nullptr);
        dialog.ImportFrom(path);
        QCOMPARE(RuleNames(dialog.Rules()), names);
        QVERIFY2(LineText(&dialog, u"消息"_s).startsWith(told), qPrintable(LineText(&dialog, u"消息"_s)));
    }

    // What one reader exports, another imports as it was.
    void cleanupRulesDialog_exportThenImport_givesTheSameRules()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"导出.json"_s);
        QList<CleanupRule> rules = PlainRules({u"甲"_s, u"乙"_s});
        rules[1] = {u"乙"_s, u"(第.章)"_s, u"$ \\1"_s, true, u"a.txt"_s, CleanupRule::Titles, false};
        CleanupRulesDialog exporting(rules, {}, nullptr);
        exporting.ExportTo(path);
        QCOMPARE(LineText(&exporting, u"消息"_s), u"已将 2 条规则导出到 导出.json"_s);
        CleanupRulesDialog importing({}, {}, nullptr);
        importing.ImportFrom(path);
        QCOMPARE(importing.Rules(), rules);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot write .*文件夹.json"_s));
        exporting.ExportTo(dir.filePath(u"没有/这个/文件夹.json"_s));
        QCOMPARE(LineText(&exporting, u"消息"_s), u"无法导出到 文件夹.json：写不进这个文件"_s);
    }

    // 确定 gives the rules as edited; 取消 gives nothing, though the pane was
    // shown every change meanwhile.
    void cleanupRulesDialog_confirmOrCancel_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("确定") << true;
        QTest::newRow("取消") << false;
    }

    void cleanupRulesDialog_confirmOrCancel()
    {
        QFETCH(bool, confirm);
        QList<CleanupRule> heard;
        ModalDriver driver([](QDialog *dialog) { return dialog->windowTitle() == u"净化规则"_s; },
                           [confirm](QDialog *dialog) {
                               ClickButton(dialog, u"删除(&D)"_s);
                               auto *buttons = dialog->findChild<QDialogButtonBox *>();
                               buttons->button(confirm ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
                           });
        const auto confirmed = RunCleanupRulesDialog(nullptr, PlainRules({u"甲"_s, u"乙"_s}),
                                                     {QString(), {}, [&heard](const auto &rules) { heard = rules; }});
        QCOMPARE(heard, PlainRules({u"乙"_s}));
        QCOMPARE(confirmed, confirm ? std::optional(PlainRules({u"乙"_s})) : std::nullopt);
    }

    void widthChange_keepsTheFirstVisibleText()
    {
        EditBox pane;
        pane.resize(300, 200);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        pane.SetText(WrappedParagraphs(400));
        pane.ScrollLines(500);
        const QString topBefore = pane.cursorForPosition(QPoint(4, 4)).block().text();
        pane.resize(520, 260);
        QTRY_COMPARE(pane.cursorForPosition(QPoint(4, 4)).block().text(), topBefore);
        pane.resize(260, 200);
        QTRY_COMPARE(pane.cursorForPosition(QPoint(4, 4)).block().text(), topBefore);
    }
};

FOLIVAR_TEST(ControlLayerTest)
#include "ControlLayerTest.moc"
