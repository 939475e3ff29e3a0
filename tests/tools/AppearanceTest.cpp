#include "tools/Appearance.h"
#include "core/Preferences.h"
#include "core/TypographySettings.h"
#include "support/ModalDriver.h"
#include "support/TestRegistry.h"
#include "tools/Themes.h"
#include "ui/ColourChooser.h"
#include "ui/ColourRef.h"
#include "ui/EditBox.h"
#include "ui/FontChooser.h"
#include "ui/ListBox.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QPushButton>
#include <QTest>

#include <cmath>

namespace {

QFontDialog *FontPanelOf(QDialog *dialog)
{
    return dialog->findChild<QFontDialog *>(QStringLiteral("fontPanel"));
}

bool IsFontChooser(QDialog *dialog)
{
    return FontPanelOf(dialog) != nullptr;
}

bool IsTypographyDialog(QDialog *dialog)
{
    return dialog->windowTitle() == QStringLiteral("排版");
}

bool IsColourDialog(QDialog *dialog)
{
    return qobject_cast<QColorDialog *>(dialog) != nullptr;
}

void Press(QDialog *dialog, QDialogButtonBox::StandardButton which)
{
    dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttons"))->button(which)->click();
}

// Picks `colour` with the font chooser's colour button and its colour dialog.
void PickTextColour(QDialog *fontChooser, const QColor &colour)
{
    ModalDriver colourDialog(IsColourDialog, [colour](QDialog *dialog) {
        static_cast<QColorDialog *>(dialog)->setCurrentColor(colour);
        dialog->accept();
    });
    fontChooser->findChild<QPushButton *>(QStringLiteral("colourButton"))->click();
}

// A page with its look remembered in preferences, shown in a pane.
struct Page {
    QWidget window;
    EditBox *pane = new EditBox(&window);
    FontChooser fontChooser;
    ColourChooser colourChooser;
    ListBox books;
    ListBox chapters;
    Preferences preferences;
    Appearance appearance{preferences, *pane, books, chapters};

    // A page unlike anything the choosers start on.
    Page()
    {
        preferences.Set(&Settings::fontName, QStringLiteral("DejaVu Serif"));
        preferences.Set(&Settings::fontSize, std::optional<int>(20));
        preferences.Set(&Settings::textColour, std::optional<int>(0x0000FF));
        preferences.Set(&Settings::backgroundColour, std::optional<int>(0x00FFFF));
        appearance.AdoptRemembered();
        for (auto set : {&EditBox::SetBold, &EditBox::SetItalic, &EditBox::SetUnderline, &EditBox::SetStrikeOut})
            (pane->*set)(true);
    }

    QFont PaneFont() const { return pane->font(); }
};

// WCAG's contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

class AppearanceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void confirmFont_untouched_overwritesAllSevenWithChooserStart()
    {
        Page a;
        QFont shown;
        ModalDriver driver(IsFontChooser, [&](QDialog *dialog) {
            shown = FontPanelOf(dialog)->currentFont();
            Press(dialog, QDialogButtonBox::Ok);
        });
        a.appearance.OnChooseFont(a.fontChooser, &a.window);

        // It opened on its own start, not on the pane's font; confirming it
        // untouched also shows it started on black.
        QCOMPARE(shown.family(), QStringLiteral("Noto Sans CJK SC"));
        QCOMPARE(shown.pointSize(), 12);
        QVERIFY(!shown.bold() && !shown.italic() && !shown.underline() && !shown.strikeOut());

        const QFont font = a.PaneFont();
        QCOMPARE(a.pane->FontName(), QStringLiteral("Noto Sans CJK SC"));
        QCOMPARE(a.pane->FontSize(), 12);
        QVERIFY(!font.bold() && !font.italic() && !font.underline() && !font.strikeOut());
        QCOMPARE(a.pane->TextColour(), 0);
        QCOMPARE(a.pane->BackgroundColour(), 0x00FFFF);
        // What config.ini is to keep.
        QCOMPARE(a.preferences.Values().fontName, QStringLiteral("Noto Sans CJK SC"));
        QCOMPARE(a.preferences.Values().fontSize, 12);
        QCOMPARE(a.preferences.Values().textColour, 0);
    }

    void confirmFont_changed_copiesEveryResultAndReopensOnIt_data()
    {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("OK button") << false;
        QTest::newRow("enter in the font panel") << true;
    }

    void confirmFont_changed_copiesEveryResultAndReopensOnIt()
    {
        QFETCH(bool, byEnter);
        Page a;
        QFont chosen(QStringLiteral("DejaVu Sans"), 17);
        chosen.setBold(true);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        chosen.setStrikeOut(true);
        ModalDriver driver(IsFontChooser, [&](QDialog *dialog) {
            FontPanelOf(dialog)->setCurrentFont(chosen);
            PickTextColour(dialog, QColor(0x12, 0x34, 0x56));
            if (byEnter)
                QTest::keyClick(FontPanelOf(dialog), Qt::Key_Return);
            else
                Press(dialog, QDialogButtonBox::Ok);
        });
        a.appearance.OnChooseFont(a.fontChooser, &a.window);

        const QFont font = a.PaneFont();
        QCOMPARE(a.pane->FontName(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(a.pane->FontSize(), 17);
        QVERIFY(font.bold() && font.italic() && font.underline() && font.strikeOut());
        QCOMPARE(a.pane->TextColour(), 0x563412);

        QFont reopened;
        ModalDriver again(IsFontChooser, [&](QDialog *dialog) { reopened = FontPanelOf(dialog)->currentFont(); });
        QVERIFY(!a.fontChooser.Show(&a.window));
        QCOMPARE(reopened.family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(reopened.pointSize(), 17);
    }

    void cancelFont_afterChangingFields_changesNothing_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("cancel button") << false;
        QTest::newRow("escape in the font panel") << true;
    }

    void cancelFont_afterChangingFields_changesNothing()
    {
        QFETCH(bool, byEscape);
        Page a;
        const QFont before = a.PaneFont();
        ModalDriver driver(IsFontChooser, [&](QDialog *dialog) {
            FontPanelOf(dialog)->setCurrentFont(QFont(QStringLiteral("DejaVu Sans Mono"), 30));
            PickTextColour(dialog, Qt::green);
            if (byEscape)
                QTest::keyClick(FontPanelOf(dialog), Qt::Key_Escape);
            else
                Press(dialog, QDialogButtonBox::Cancel);
            QVERIFY(!dialog->isVisible());
        });
        a.appearance.OnChooseFont(a.fontChooser, &a.window);

        QCOMPARE(a.PaneFont(), before);
        QCOMPARE(a.pane->TextColour(), 0x0000FF);
        QCOMPARE(a.preferences.Values().fontName, QStringLiteral("DejaVu Serif"));
        QCOMPARE(a.fontChooser.FontName(), QStringLiteral("Noto Sans CJK SC"));
        QCOMPARE(a.fontChooser.Colour(), 0);
    }

    // Each change shows in the pane while the dialog is open; cancel puts the
    // typography back, OK keeps it.
    void typography_previewsLive_cancelPutsItBack()
    {
        for (const bool confirm : {false, true}) {
            Page a;
            Typography seen;
            ModalDriver driver(IsTypographyDialog, [&](QDialog *dialog) {
                dialog->findChildren<QDoubleSpinBox *>().first()->setValue(2.5);
                dialog->findChildren<QComboBox *>().first()->setCurrentIndex(1);
                seen = a.pane->TextTypography();
                confirm ? dialog->accept() : dialog->reject();
            });
            a.appearance.OnChooseTypography(&a.window);
            QCOMPARE(seen.lineSpacing, 2.5);
            QCOMPARE(seen.indentation, Indentation::TwoFullWidth);
            QCOMPARE(a.pane->TextTypography(), confirm ? seen : Typography{});
            QCOMPARE(TypographyFrom(a.preferences.Values()), a.pane->TextTypography());
        }
    }

    void chooseBackground_equalToText_isAccepted()
    {
        Page a;
        const QFont before = a.PaneFont();
        ModalDriver driver(IsColourDialog, [](QDialog *dialog) {
            static_cast<QColorDialog *>(dialog)->setCurrentColor(QColor(0xFF, 0, 0));
            dialog->accept();
        });
        a.appearance.OnChooseBackground(a.colourChooser, &a.window);

        QCOMPARE(a.pane->BackgroundColour(), 0x0000FF);
        QCOMPARE(a.pane->TextColour(), 0x0000FF);
        QCOMPARE(a.PaneFont(), before);
    }

    // The page, both lists and the window around them take the theme; the
    // designed black on white leaves the window the desktop's colours.
    void themes_readWell_andTheWindowFollows()
    {
        Page a;
        for (const Theme &theme : kThemes) {
            const QColor text = ColourFromRef(theme.text), background = ColourFromRef(theme.background);
            QVERIFY2(ContrastRatio(text, background) >= 4.5, theme.name);
            a.appearance.OnChooseTheme(theme);
            QCOMPARE(a.pane->TextColour(), theme.text);
            QCOMPARE(a.pane->BackgroundColour(), theme.background);
            QCOMPARE(a.chapters.palette().color(QPalette::Base), background);
            const bool designed = &theme == &kThemes[0];
            QCOMPARE(a.window.palette().color(QPalette::Window),
                     designed ? QApplication::palette().color(QPalette::Window) : background);
            QCOMPARE(a.window.palette().color(QPalette::WindowText),
                     designed ? QApplication::palette().color(QPalette::WindowText) : text);
        }
    }

    void cancelBackground_afterPicking_changesNothing()
    {
        Page a;
        QColor shown;
        ModalDriver driver(IsColourDialog, [&](QDialog *dialog) {
            auto *colourDialog = static_cast<QColorDialog *>(dialog);
            shown = colourDialog->currentColor();
            colourDialog->setCurrentColor(Qt::black);
            dialog->reject();
        });
        a.appearance.OnChooseBackground(a.colourChooser, &a.window);

        QCOMPARE(shown, QColor(Qt::white));
        QCOMPARE(a.pane->BackgroundColour(), 0x00FFFF);
        QCOMPARE(a.colourChooser.Colour(), 0xFFFFFF);
    }
};

FOLIVAR_TEST(AppearanceTest)

#include "AppearanceTest.moc"
