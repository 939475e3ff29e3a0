#pragma once
// 排版: a dialog for the pane's typography that shows each change at once in
// the pane behind it.
#include "core/Typography.h"

#include <functional>
#include <optional>

class QWidget;

// Asks over `parent`, starting from `current`; `preview` gets the typography
// after every change the user makes. The chosen typography, or nullopt when
// the user cancelled (or the window closed meanwhile).
std::optional<Typography> AskTypography(QWidget *parent, const Typography &current,
                                        const std::function<void(const Typography &)> &preview);
