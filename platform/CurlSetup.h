#pragma once

namespace corvane {

// libcurl's process-wide set-up, done once before the first handle, whichever thread
// (the FTP session, a mail send on a worker) asks first.
void InitCurlOnce();

} // namespace corvane
