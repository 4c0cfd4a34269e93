#include "db/platform/Console.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// Only after windows.h, whose types it uses.
#include <shellapi.h>

#include <cstdio>

#include "db/platform/Files.h"
#endif

namespace veltra::platform {

#ifdef _WIN32

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8Name(std::filesystem::path(wide[i])));
  LocalFree(wide);
  return args;
}

void UseUtf8Output() {
  SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

#else

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return {argv + 1, argv + argc};
}

void UseUtf8Output() {}

#endif

}  // namespace veltra::platform
