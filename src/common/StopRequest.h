#pragma once

namespace linkora {

// A request to end the running exchange (Ctrl-C in the command-line tool).
// A signal handler may set it: it is a lock-free flag. The serial port ends
// its wait at once while it is set, so the transfer fails through its usual
// path; the tool clears it before sending the handset back to data mode.
void RequestStop() noexcept;
bool StopRequested() noexcept;
void ClearStopRequest() noexcept;

}  // namespace linkora
