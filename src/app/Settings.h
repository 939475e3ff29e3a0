#pragma once
// The remembered values: where each lives in the settings file and what a
// missing one reads as. Every access to the file goes through this table.
#include <QString>

#include <optional>

// Everything the settings file remembers, as the text it stores.
struct RememberedSettings {
    QString bookDirectory;    // "路径"
    QString book;             // "书": index in the book list, -1 for none
    QString chapter;          // "章": index in the chapter list, -1 for none
    QString line;             // "行": the pane's first visible line
    QString fontName;         // "字体"
    QString fontSize;         // "字体大小", points
    QString textColour;       // "文本颜色", 0x00BBGGRR in decimal
    QString backgroundColour; // "背景颜色"
    QString bookName;         // "书名": the file name of the book at 书
    QString chapterTitle;     // "章名": the title of the chapter at 章, no line end
};

struct SettingKey {
    const char *section;
    const char *key;
    const char *defaultValue; // nullptr: DefaultBookDirectory()
    QString RememberedSettings::*value;
};

// Every key, in the order a save writes them.
inline constexpr SettingKey kSettingKeys[] = {
    {"Config", "路径", nullptr, &RememberedSettings::bookDirectory},
    {"Config", "书", "", &RememberedSettings::book},
    {"Config", "章", "", &RememberedSettings::chapter},
    {"Config", "行", "0", &RememberedSettings::line},
    {"字体", "字体", "", &RememberedSettings::fontName},
    {"字体", "字体大小", "", &RememberedSettings::fontSize},
    {"字体", "文本颜色", "", &RememberedSettings::textColour},
    {"字体", "背景颜色", "", &RememberedSettings::backgroundColour},
    // Written after the designed eight: the book and chapter by name too, so
    // that a book added to the folder or a heading removed does not move the
    // reader elsewhere.
    {"Config", "书名", "", &RememberedSettings::bookName},
    {"Config", "章名", "", &RememberedSettings::chapterTitle},
};

// "config.ini" beside the program when its folder can take it (portable use);
// otherwise, as for an installed program, in the user's configuration folder.
QString SettingsPathFor(const QString &programDirectory);
// The book folder a first run lists: "d:\book\" on Windows, ~/book/ elsewhere.
QString DefaultBookDirectory();

// Every remembered value, the file read once; a missing key reads as its
// default, a key with nothing after its "=" as empty text.
RememberedSettings LoadSettings(const QString &settingsPath);
// Writes every value, one key at a time in the table's order, while no other
// reader sharing the file writes its own: two readers closing at once leave
// the file as one or the other saved it. Failures are only logged.
void SaveSettings(const QString &settingsPath, const RememberedSettings &settings);

// A remembered number; nullopt when the text is not a 32-bit decimal integer
// (blanks around it allowed). Where a number must be had, callers read
// nullopt as 0.
std::optional<int> SettingNumber(const QString &value);
