#pragma once
// Starting another program and forgetting about it.
#include <QString>

// Starts the program found under that file name on the search path, detached,
// with the command line as its one argument, unquoted. When there is no such
// program the command line is opened as a URL in the desktop's default
// browser. Nothing is reported either way; failures are only logged.
void LaunchProgram(const QString &program, const QString &commandLine);
