#pragma once
// What a failed WebDAV request means to the user, in a line for the strip
// below the pane: no connection or no answer in time, a wrong user or
// password, a server out of space, a folder that is not there, an answer too
// long, a request sent elsewhere, a certificate refused (each reason named).
#include "sync/WebDav.h"

#include <QString>

QString DescribeFailure(const DavAnswer &answer);
