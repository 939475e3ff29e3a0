#pragma once
// The remembered values: where each lives in the settings file, what a
// missing one reads as, and how its text becomes a value and back. Every
// access to the file goes through this table.
#include "core/Typography.h"

#include <QString>

#include <array>
#include <optional>
#include <variant>

// Everything the settings file remembers.
struct Settings {
    QString bookDirectory;               // "路径"
    std::optional<int> book;             // "书": index in the book list, -1 for none
    std::optional<int> chapter;          // "章": index in the chapter list, -1 for none
    int line = 0;                        // "行": the pane's first visible line
    QString fontName;                    // "字体"
    std::optional<int> fontSize;         // "字体大小", points
    std::optional<int> textColour;       // "文本颜色", 0x00BBGGRR
    std::optional<int> backgroundColour; // "背景颜色"
    QString bookName;                    // "书名": the kept name of the book at 书 (BookFileName.h)
    QString chapterTitle;                // "章名": the title of the chapter at 章, no line end
    // How the pane sets the text ("排版").
    int lineSpacing = 10;                            // "行距": tenths of the font's line height
    int paragraphSpacing = 0;                        // "段距": tenths of a line after each paragraph
    int sideMargin = 0;                              // "左右页边距", pixels
    int topMargin = 0;                               // "上下页边距", pixels
    Indentation indentation = Indentation::AsInFile; // "首行缩进", by the rule's name
    BlankLines blankLines = BlankLines::Keep;        // "空行", by the rule's name
    int columnCharacters = 0;                        // "正文宽度": characters a line at most, 0 for the whole pane
    bool justify = false;                            // "两端对齐": 1 on, 0 off
    int autoScrollSpeed = 20;                        // "自动滚动速度" (section "阅读"): lines a minute
    QString hotKey; // "热键": the hide key, kDefaultHotKey, portable text or kNoHotKey
    // 朗读 (section "朗读").
    int speechRate = 0; // "语速": tenths of the engine's range, -10 to 10
    QString voice;      // "声音": the name of the voice chosen, empty for the engine's first
    // Where places, bookmarks and choices are shared with other computers
    // (section "同步"); the password is kept in the desktop's keyring.
    QString syncAddress;      // "地址": the WebDAV folder's URL, http or https
    QString syncUser;         // "用户": empty for a server without sign-in
    bool syncEnabled = false; // "启用": 1 on, 0 off
    // The book list (section "书库").
    int bookOrder = 0; // "排序": 0 by name, 1 last read, 2 file size, 3 added (BookOrder)
    // The window as it was left (section "窗口"). A place or size of none
    // (a first start, an older file) is the designed one.
    std::optional<int> windowLeft;     // "左": the frame's left edge on the desktop, pixels
    std::optional<int> windowTop;      // "上"
    std::optional<int> windowWidth;    // "宽": inside the frame
    std::optional<int> windowHeight;   // "高"
    bool fullScreen = false;           // "全屏"
    bool simpleMode = false;           // "简洁模式": the pane alone, no frame
    std::optional<int> simpleLeft;     // "简洁左": the simple window's own place and size
    std::optional<int> simpleTop;      // "简洁上"
    std::optional<int> simpleWidth;    // "简洁宽"
    std::optional<int> simpleHeight;   // "简洁高"
    bool stayOnTop = false;            // "置顶"
    int opacity = 100;                 // "透明度": percent
    bool backgroundSeeThrough = false; // "背景透明": in 简洁模式 only the page is seen through
    bool hideOnLeave = false;          // "鼠标移出时隐藏"
};

// The hide key's texts: the key left of 1 unless the file names another, as
// QKeySequence's portable text ("Ctrl+Alt+H"), or none.
inline constexpr const char *kDefaultHotKey = "`";
inline constexpr const char *kNoHotKey = "无";

// How a value is kept as text. Every kind writes a number as decimal text
// and nothing as empty text.
enum class SettingKind {
    Text,     // the text itself
    BookName, // a book's kept name, escaped where a line cannot hold it (BookNameAsSetting)
    Number,   // a number; a text that is none reads as 0
    Index,    // a list position: empty text is none, another text that is no number 0
    Measure,  // a size, a place or a colour: anything but a number reads as none, so that a
              // damaged file cannot paint black text on a black page
    Tenths,   // a number with one decimal ("1.5"), kept in tenths; a text that is none reads as 0
    Switch,   // "1" on, "0" off; any other text reads as off
    Choice,   // one of a few choices by its name; an unknown name reads as the first
};

using SettingField = std::variant<QString Settings::*, int Settings::*, std::optional<int> Settings::*,
                                  bool Settings::*, Indentation Settings::*, BlankLines Settings::*>;

struct SettingKey {
    const char *section;
    const char *key;
    const char *defaultValue; // nullptr: DefaultBookDirectory()
    SettingKind kind;
    SettingField field;
};

// Every key, in the order a save writes them.
inline constexpr SettingKey kSettingKeys[] = {
    {"Config", "路径", nullptr, SettingKind::Text, &Settings::bookDirectory},
    {"Config", "书", "", SettingKind::Index, &Settings::book},
    {"Config", "章", "", SettingKind::Index, &Settings::chapter},
    {"Config", "行", "0", SettingKind::Number, &Settings::line},
    {"字体", "字体", "", SettingKind::Text, &Settings::fontName},
    {"字体", "字体大小", "", SettingKind::Measure, &Settings::fontSize},
    {"字体", "文本颜色", "", SettingKind::Measure, &Settings::textColour},
    {"字体", "背景颜色", "", SettingKind::Measure, &Settings::backgroundColour},
    // Written after the designed eight: the book and chapter by name too, so
    // that a book added to the folder or a heading removed does not move the
    // reader elsewhere.
    {"Config", "书名", "", SettingKind::BookName, &Settings::bookName},
    {"Config", "章名", "", SettingKind::Text, &Settings::chapterTitle},
    {"排版", "行距", "1.0", SettingKind::Tenths, &Settings::lineSpacing},
    {"排版", "段距", "0.0", SettingKind::Tenths, &Settings::paragraphSpacing},
    {"排版", "左右页边距", "0", SettingKind::Number, &Settings::sideMargin},
    {"排版", "上下页边距", "0", SettingKind::Number, &Settings::topMargin},
    {"排版", "首行缩进", "", SettingKind::Choice, &Settings::indentation},
    {"排版", "空行", "", SettingKind::Choice, &Settings::blankLines},
    {"排版", "正文宽度", "0", SettingKind::Number, &Settings::columnCharacters},
    {"排版", "两端对齐", "0", SettingKind::Switch, &Settings::justify},
    {"阅读", "自动滚动速度", "20", SettingKind::Number, &Settings::autoScrollSpeed},
    {"热键", "热键", kDefaultHotKey, SettingKind::Text, &Settings::hotKey},
    {"朗读", "语速", "0", SettingKind::Number, &Settings::speechRate},
    {"朗读", "声音", "", SettingKind::Text, &Settings::voice},
    {"同步", "地址", "", SettingKind::Text, &Settings::syncAddress},
    {"同步", "用户", "", SettingKind::Text, &Settings::syncUser},
    {"同步", "启用", "0", SettingKind::Switch, &Settings::syncEnabled},
    {"书库", "排序", "0", SettingKind::Number, &Settings::bookOrder},
    {"窗口", "左", "", SettingKind::Measure, &Settings::windowLeft},
    {"窗口", "上", "", SettingKind::Measure, &Settings::windowTop},
    {"窗口", "宽", "", SettingKind::Measure, &Settings::windowWidth},
    {"窗口", "高", "", SettingKind::Measure, &Settings::windowHeight},
    {"窗口", "全屏", "0", SettingKind::Switch, &Settings::fullScreen},
    {"窗口", "简洁模式", "0", SettingKind::Switch, &Settings::simpleMode},
    {"窗口", "简洁左", "", SettingKind::Measure, &Settings::simpleLeft},
    {"窗口", "简洁上", "", SettingKind::Measure, &Settings::simpleTop},
    {"窗口", "简洁宽", "", SettingKind::Measure, &Settings::simpleWidth},
    {"窗口", "简洁高", "", SettingKind::Measure, &Settings::simpleHeight},
    {"窗口", "置顶", "0", SettingKind::Switch, &Settings::stayOnTop},
    {"窗口", "透明度", "100", SettingKind::Number, &Settings::opacity},
    {"窗口", "背景透明", "0", SettingKind::Switch, &Settings::backgroundSeeThrough},
    {"窗口", "鼠标移出时隐藏", "0", SettingKind::Switch, &Settings::hideOnLeave},
};

// A value's place in kSettingKeys, which names it in change signals.
using SettingId = std::size_t;

// The id of the key that keeps `field`; std::size(kSettingKeys) for a field
// no key keeps, which every field of Settings has.
template <typename Value>
constexpr SettingId IdOf(Value Settings::*field)
{
    for (SettingId id = 0; id < std::size(kSettingKeys); ++id) {
        // Not std::get_if: its null test is no constant expression under
        // -fsanitize=undefined.
        const auto &kept = kSettingKeys[id].field;
        if (std::holds_alternative<Value Settings::*>(kept) && std::get<Value Settings::*>(kept) == field)
            return id;
    }
    return std::size(kSettingKeys);
}

// "config.ini" beside the program when its folder can take it (portable use);
// otherwise, as for an installed program, in the user's configuration folder.
QString SettingsPathFor(const QString &programDirectory);
// The book folder a first run lists: "d:\book\" on Windows, ~/book/ elsewhere.
QString DefaultBookDirectory();

// The text of every key, in the table's order.
using SettingTexts = std::array<QString, std::size(kSettingKeys)>;

// Every key's text, the file read once; a missing key reads as its default, a
// key with nothing after its "=" as empty text.
SettingTexts ReadSettingTexts(const QString &settingsPath);
// Each text taken as its kind says, and each value written as its text.
Settings SettingsFrom(const SettingTexts &texts);
SettingTexts TextsOf(const Settings &settings);
// Writes every text in the table's order, in one write of the whole file
// (each key replaced in place, a missing one added as WriteIniValue adds it),
// while no other reader sharing the file writes its own: two readers closing
// at once leave the file as one or the other saved it. Failures are only
// logged; returns whether the file now holds the texts.
bool WriteSettingTexts(const QString &settingsPath, const SettingTexts &texts);

// SettingsFrom(ReadSettingTexts()) and WriteSettingTexts(TextsOf()).
Settings LoadSettings(const QString &settingsPath);
void SaveSettings(const QString &settingsPath, const Settings &settings);

// A remembered number; nullopt when the text is not a 32-bit decimal integer
// (blanks around it allowed).
std::optional<int> SettingNumber(const QString &value);
// A remembered decimal in tenths ("1.5": 15, "2": 20), within ±100000;
// nullopt when the text is no number.
std::optional<int> SettingTenths(const QString &value);

// The book store, in the folder of the settings file.
QString BookStorePathFor(const QString &settingsPath);
