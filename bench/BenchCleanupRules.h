#pragma once
// Fifty 净化规则 as a reader who collects them might have: forty plain texts
// (a site's lines, most of them absent from any one book, a few typo fixes
// that are there) and ten regular expressions.
#include "core/CleanupRule.h"

QList<CleanupRule> BenchCleanupRules();
