#pragma once
// Requests from outside to end the program: on Unix the signals SIGTERM,
// SIGINT and SIGHUP (kill, Ctrl+C in a terminal, a closing session). Instead
// of ending the program on the spot, each arrives as a call on the thread
// that runs the event loop, where the program can close down the normal way.
#include <functional>

class QObject;

// Starts watching, once per run; every request then calls onRequest from the
// event loop while `context` lives. Where the platform sends no such
// requests, nothing happens.
void WatchTerminationRequests(QObject *context, std::function<void()> onRequest);
