#include "db/platform/LocalTime.h"

namespace veltra::platform {

// std::localtime shares one result among threads; each system has its own
// reentrant form, with its arguments in its own order.
std::tm LocalTime(std::time_t moment) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &moment);
#else
  localtime_r(&moment, &local);
#endif
  return local;
}

}  // namespace veltra::platform
