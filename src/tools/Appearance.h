#pragma once
// The page's look: the pane's font, text colour, background colour and
// typography as config.ini keeps them (Preferences), applied to the pane
// whenever they change; the two lists and the window around them take the
// same colours, so that a dark page makes a dark window. The handlers of the
// menu write the preferences, and those with a chooser return once it, shown
// over `window`, has closed. Nothing is read back from the pane.
#include "core/Settings.h"

#include <QObject>

class ColourChooser;
class EditBox;
class FontChooser;
class ListBox;
class Preferences;
class QWidget;
struct Theme;
struct Typography;

class Appearance : public QObject {
public:
    Appearance(Preferences &preferences, EditBox &pane, ListBox &bookList, ListBox &chapterList,
               QObject *parent = nullptr);

    // Start-up: the values remembered as the pane takes them (a font size
    // below 1 point or a colour that is none reads as the designed one, a
    // size above 512 points as 512, the typography within its ranges),
    // applied to the pane.
    void AdoptRemembered();
    // The page's text colour (0x00BBGGRR).
    int TextColour() const;
    // Font chooser (通用对话框2): on confirm, font name, size and text colour
    // are remembered; bold, italic, strikeout and underline go to the pane
    // for the run.
    void OnChooseFont(FontChooser &chooser, QWidget *window);
    // Colour chooser (选择颜色对话框1): on confirm, the colour becomes the
    // background.
    void OnChooseBackground(ColourChooser &chooser, QWidget *window);
    // 文本颜色…: on confirm, the colour becomes the text colour.
    void OnChooseTextColour(ColourChooser &chooser, QWidget *window);
    // 主题: the theme's text and background colours together.
    void OnChooseTheme(const Theme &theme);
    // 排版…: the typography dialog; each change shows in the pane at once,
    // and a cancel puts the typography back as it was.
    void OnChooseTypography(QWidget *window);

private:
    void OnChanged(SettingId id);
    void ApplyFont();
    void ApplyColours();
    void SetTypography(const Typography &typography);

    Preferences &preferences_;
    EditBox &pane_;
    ListBox &bookList_;
    ListBox &chapterList_;
    bool settingTypography_ = false;
};
