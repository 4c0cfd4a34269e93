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
bool WaitForInput(int socket, int milliseconds) {
  WSAPOLLFD descriptor{static_cast<SOCKET>(socket), POLLRDNORM, 0};
  return WSAPoll(&descriptor, 1, milliseconds) != SOCKET_ERROR;
}

#else

bool WaitForInput(int socket, int milliseconds) {
  pollfd descriptor{socket, POLLIN, 0};
  return poll(&descriptor, 1, milliseconds) >= 0 || errno == EINTR;
}

#endif

}  // namespace veltra::platform
