#pragma once
// The few POSIX calls the tests use that Windows' C library spells otherwise,
// given to every test built for Windows (the build includes this first), so
// that the tests read the same on both systems.

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <stdlib.h>

#include <cerrno>

inline int setenv(const char* name, const char* value, int /*overwrite*/) {
  return _putenv_s(name, value);
}

inline int unsetenv(const char* name) {
  return _putenv_s(name, "");
}

inline char* mkdtemp(char* pattern) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (_mktemp(pattern) == nullptr) return nullptr;
    if (_mkdir(pattern) == 0) return pattern;
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}
#endif
