#pragma once
// The main window's controls, by their own names, as the handlers reach them.
class QLineEdit;
class QWidget;
class EditBox;
class ListBox;
class NotifyLabel;
class FontChooser;
class ColourChooser;
class ListWindow;
class MessageStrip;

struct ReaderControls {
    QWidget *mainWindow = nullptr;
    EditBox *编辑框_内容 = nullptr;
    NotifyLabel *标签_状态显示 = nullptr;
    NotifyLabel *标签_热键反馈 = nullptr;
    FontChooser *通用对话框2 = nullptr;
    QLineEdit *编辑框_路径 = nullptr;
    ListBox *列表框_文件 = nullptr;
    // Above the book list: narrows it to the names holding what is typed.
    QLineEdit *bookFilter = nullptr;
    ListBox *列表框_章节 = nullptr;
    ColourChooser *选择颜色对话框1 = nullptr;
    // The strip below the pane, for a short message.
    MessageStrip *标签_提示 = nullptr;
    // Windows of their own beside the main one, hidden until asked for.
    ListWindow *findWindow = nullptr;
    ListWindow *bookmarksWindow = nullptr;
    ListWindow *notesWindow = nullptr;
};
