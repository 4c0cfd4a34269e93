#include "support/PdfText.h"

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "db/platform/Files.h"
#include "support/TempDir.h"
#endif

namespace veltra::testing {

namespace {

#ifdef _WIN32

// Wine's own call for the Linux name of a Windows one; none on Windows
// itself, where the tools then fail to start and the tests say so.
std::string linuxName(const std::string& path) {
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  const auto call = reinterpret_cast<UnixFileName>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (call == nullptr) return path;
  char* name = call(platform::FilePath(path).c_str());
  if (name == nullptr) return path;
  std::string text(name);
  HeapFree(GetProcessHeap(), 0, name);
  return text;
}

std::string slurp(const std::string& path) {
  std::ifstream in(platform::FilePath(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Wine starts a Linux program without a process to wait for: the tool's
// output and, last, its exit status go to files, and the status is waited for.
ProgramRun runPoppler(const std::string& tool, std::vector<std::string> args) {
  TempDir dir;
  const std::string out = dir.file("out"), err = dir.file("err"), status = dir.file("status");
  args.insert(
      args.begin(),
      {"-c",
       "e=$1 s=$2; shift 2; \"$@\" >\"$0\" 2>\"$e\"; echo $? >\"$s.part\"; mv \"$s.part\" \"$s\"",
       linuxName(out), linuxName(err), linuxName(status), "/usr/bin/" + tool});
  runProgram("Z:\\bin\\sh", args);
  for (int wait = 0; wait < 600 && !std::filesystem::exists(platform::FilePath(status)); ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::string code = slurp(status);
  return {code.empty() ? -1 : std::stoi(code), slurp(out), slurp(err)};
}

#else

std::string linuxName(const std::string& path) {
  return path;
}

ProgramRun runPoppler(const std::string& tool, const std::vector<std::string>& args) {
  return runProgram("/usr/bin/" + tool, args);
}

#endif

}  // namespace

ProgramRun pdfText(const std::string& pdf) {
  return runPoppler("pdftotext", {"-layout", linuxName(pdf), "-"});
}

ProgramRun pdfInfo(const std::string& pdf) {
  return runPoppler("pdfinfo", {linuxName(pdf)});
}

}  // namespace veltra::testing
