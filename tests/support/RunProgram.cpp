#include "support/RunProgram.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "db/platform/Files.h"
#include "support/TempDir.h"

namespace veltra::testing {

namespace {
std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The given entries replace inherited ones of the same name: the program
// reads the first it finds.
template <typename Text>
bool overridden(const Text& entry, const std::vector<Text>& environment) {
  const Text name = entry.substr(0, entry.find('=') + 1);
  return std::any_of(environment.begin(), environment.end(),
                     [&](const Text& given) { return given.rfind(name, 0) == 0; });
}
}  // namespace

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& utf8) {
  return platform::FilePath(utf8).wstring();
}

// One argument as CommandLineToArgvW and the C runtime read it back:
// quoted, with the backslashes before a quote doubled.
void appendQuoted(std::wstring& line, const std::wstring& arg) {
  line += L" \"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(2 * backslashes, L'\\');
  line += L'"';
}

std::wstring environmentBlock(const std::vector<std::string>& environment) {
  std::vector<std::wstring> given;
  for (const auto& entry : environment) given.push_back(wide(entry));
  std::wstring block;
  wchar_t* inherited = GetEnvironmentStringsW();
  for (const wchar_t* e = inherited; *e != L'\0'; e += std::wcslen(e) + 1)
    if (!overridden(std::wstring(e), given)) block.append(e).push_back(L'\0');
  FreeEnvironmentStringsW(inherited);
  for (const auto& entry : given) block.append(entry).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

HANDLE inheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment) {
  TempDir dir;
  const std::string outPath = dir.file("out"), errPath = dir.file("err");
  std::wstring line = L"\"" + wide(program) + L"\"";
  for (const auto& arg : args) appendQuoted(line, wide(arg));
  std::wstring block = environmentBlock(environment);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = inheritableFile(outPath);
  startup.hStdError = inheritableFile(errPath);
  PROCESS_INFORMATION process{};
  ProgramRun run;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                     block.data(), nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    run.exitStatus = static_cast<int>(status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(startup.hStdOutput);
  CloseHandle(startup.hStdError);
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}

#else

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment) {
  TempDir dir;
  const std::string outPath = dir.file("out"), errPath = dir.file("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);

  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<std::string> envStrings;
  for (char** e = environ; *e != nullptr; ++e)
    if (!overridden(std::string(*e), environment)) envStrings.emplace_back(*e);
  envStrings.insert(envStrings.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (auto& e : envStrings) envp.push_back(e.data());
  envp.push_back(nullptr);

  ProgramRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}

#endif

}  // namespace veltra::testing
