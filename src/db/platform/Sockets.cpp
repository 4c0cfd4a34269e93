#include "db/platform/Sockets.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <poll.h>

#include <cerrno>
#endif

namespace veltra::platform {

#ifdef _WIN32

// libpq hands out the Windows socket as an int.
namespace {
bool waitFor(int socket, short events, int milliseconds) {
  WSAPOLLFD descriptor{static_cast<SOCKET>(socket), events, 0};
  return WSAPoll(&descriptor, 1, milliseconds) != SOCKET_ERROR;
}
}  // namespace

bool WaitForInput(int socket, int milliseconds) {
  return waitFor(socket, POLLRDNORM, milliseconds);
}

bool WaitForInputOrOutput(int socket, int milliseconds) {
  return waitFor(socket, POLLRDNORM | POLLWRNORM, milliseconds);
}

#else

namespace {
bool waitFor(int socket, short events, int milliseconds) {
  pollfd descriptor{socket, events, 0};
  return poll(&descriptor, 1, milliseconds) >= 0 || errno == EINTR;
}
}  // namespace

bool WaitForInput(int socket, int milliseconds) {
  return waitFor(socket, POLLIN, milliseconds);
}

bool WaitForInputOrOutput(int socket, int milliseconds) {
  return waitFor(socket, POLLIN | POLLOUT, milliseconds);
}

#endif

}  // namespace veltra::platform
