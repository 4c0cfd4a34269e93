#pragma once
// Waiting on a network connection's socket, which POSIX and Windows spell
// differently.

namespace veltra::platform {

// Waits at most milliseconds for something to read on socket. False only
// when the wait itself failed; a time-out or a signal is no failure.
bool WaitForInput(int socket, int milliseconds);

}  // namespace veltra::platform
