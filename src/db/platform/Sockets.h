#pragma once
// Waiting on a network connection's socket, which POSIX and Windows spell
// differently.

namespace veltra::platform {

// Waits at most milliseconds for something to read on socket. False only
// when the wait itself failed; a time-out or a signal is no failure.
bool WaitForInput(int socket, int milliseconds);
// The same for room to write or something to read, whichever comes first:
// while sending much, the other side's answers must be read meanwhile.
bool WaitForInputOrOutput(int socket, int milliseconds);

}  // namespace veltra::platform
