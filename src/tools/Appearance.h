#pragma once
// The pane's font, text colour and background colour, as the user picks them
// from the menu; the two lists and the window around them take the same
// colours, so that a dark page makes a dark window. The handlers with a
// chooser return once it, shown over `window`, has closed; none writes the
// settings.
class ColourChooser;
class EditBox;
class FontChooser;
class ListBox;
class QWidget;
struct Theme;

// Font chooser (通用对话框2): on confirm, font name, size, bold, italic,
// strikeout, underline and text colour go to the reading pane as reported.
void OnChooseFont(FontChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList, QWidget *window);
// Colour chooser (选择颜色对话框1): on confirm, the colour becomes the pane's
// background.
void OnChooseBackground(ColourChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList,
                        QWidget *window);

// 文本颜色…: on confirm, the colour becomes the pane's text colour.
void OnChooseTextColour(ColourChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList,
                        QWidget *window);
// 主题: the theme's text and background colours go to the pane together.
void OnChooseTheme(const Theme &theme, EditBox &pane, ListBox &bookList, ListBox &chapterList);

// 排版…: the typography dialog over `window`; each change shows in the pane
// at once, and a cancel puts the typography back as it was.
void OnChooseTypography(EditBox &pane, QWidget *window);

// Gives both lists the pane's text and background colours, and the window
// that holds them (its menu bar, the strip below the pane) too, unless the
// page is the designed black on white, which leaves the desktop's colours.
void ColourWindowLikePane(const EditBox &pane, ListBox &bookList, ListBox &chapterList);
