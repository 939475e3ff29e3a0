#pragma once
// The pane's typography as config.ini's section "排版" keeps it, and back.
#include "core/Settings.h"
#include "core/Typography.h"

class Preferences;

// The remembered typography; values out of range are brought inside, an
// unknown rule name reads as the plain pane's.
Typography TypographyFrom(const Settings &settings);
// Writes the typography's keys of `settings`, or sets those of the
// preferences.
void PutTypography(const Typography &typography, Settings &settings);
void PutTypography(const Typography &typography, Preferences &preferences);
