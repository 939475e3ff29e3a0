#pragma once
// The pane's font, text colour and background colour, as the user picks them
// from the menu; the two lists take the same colours, so that a dark page
// makes a dark window. Both handlers return once their chooser, shown over
// `window`, has closed; neither writes the settings.
class ColourChooser;
class EditBox;
class FontChooser;
class ListBox;
class QWidget;

// Font chooser (通用对话框2): on confirm, font name, size, bold, italic,
// strikeout, underline and text colour go to the reading pane as reported.
void OnChooseFont(FontChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList, QWidget *window);
// Colour chooser (选择颜色对话框1): on confirm, the colour becomes the pane's
// background.
void OnChooseBackground(ColourChooser &chooser, EditBox &pane, ListBox &bookList, ListBox &chapterList,
                        QWidget *window);

// Gives both lists the pane's text and background colours.
void ColourListsLikePane(const EditBox &pane, ListBox &bookList, ListBox &chapterList);
