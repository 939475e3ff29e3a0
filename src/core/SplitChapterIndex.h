#pragma once
// The chapter search of a whole book, shared out over threads.
#include "core/ChapterRules.h"

#include <functional>
#include <optional>

// The headings FindHeadingsByRule finds in `text`, the same ones in the same
// places. For the default and the strict rule the text is cut at line starts
// into parts of about `partLength` characters (0: chosen from the text's
// length and the threads), which are searched on `threads` threads; the
// strict rule's time limit runs for them all together, and when it runs out
// the headings stop where the first part cut short stopped. A custom
// expression may match over line ends: it is searched in one go on this
// thread.
//
// `cancelled` is asked on this thread only, before each part's headings are
// taken; once it says yes the parts not started are dropped, the running
// ones waited for, and the result is nullopt. It may be empty.
std::optional<QList<ChapterHeading>> FindHeadingsOnThreads(const QString &text, const ChapterRule &rule, int threads,
                                                           const std::function<bool()> &cancelled,
                                                           qsizetype partLength = 0);
