#pragma once
// What the FTP session and the mail component share of libcurl.
#include <string_view>

namespace corvane {

// libcurl's process-wide set-up, done once before the first handle, whichever thread
// (the FTP session, a mail send on a worker) asks first.
void InitCurlOnce();

// Whether a server's first line starts as FTP and SMTP replies do, with a three-digit code.
// A line that does not is another protocol's greeting (an SSH or web port given by
// mistake), and waiting on for a reply would only run into the timeout.
bool StartsWithReplyCode(std::string_view line);

} // namespace corvane
