#pragma once
// The pane's typography as config.ini's section "排版" keeps it, and back.
#include "core/Settings.h"
#include "ui/Typography.h"

// The remembered typography; values out of range are brought inside, an
// unknown rule name reads as the plain pane's.
Typography TypographyFrom(const Settings &settings);
// Writes the typography's keys of `settings`.
void PutTypography(const Typography &typography, Settings &settings);
