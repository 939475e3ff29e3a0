#pragma once
// Lets the window handle whatever is queued (repaints, notifications, input),
// then returns. Handlers run nested inside this call.
void ProcessPendingEvents();
