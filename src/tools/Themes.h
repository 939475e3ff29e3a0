#pragma once
// The page's colour themes: text and background chosen together, as pairs
// that read well for hours (a contrast of at least 4.5:1). Colours are
// 0x00BBGGRR, as the pane and the settings file keep them.
struct Theme {
    const char *name;
    int text;
    int background;
};

inline constexpr Theme kThemes[] = {
    {"白天", 0x000000, 0xFFFFFF},
    {"羊皮纸", 0x36465B, 0xD8ECF4}, // brown ink on warm paper
    {"护眼", 0x1E321E, 0xCCEDC7},   // dark green on pale green
    {"夜间", 0xC8C8C8, 0x1E1E1E},   // light grey on near black
};
