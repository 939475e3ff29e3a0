#pragma once
// What config.ini is to hold at any moment: where the reader is, and how the
// text looks. The same for the saves while the reader runs and at shutdown.
#include "core/Settings.h"

struct ReaderState;
struct ReaderControls;
class ReadingSession;

// The book folder, the selected book and chapter, the pane's first visible
// line and the names of the book and the chapter, or, while start-up has not
// put the reader back at the remembered place, that place as it was read;
// then the pane's font, colours and typography, the speed of 自动滚动, and
// the hide key, and 朗读's speed and voice.
SettingTexts SettingsOnScreen(const ReaderState &state, const ReaderControls &controls, const ReadingSession &session);
