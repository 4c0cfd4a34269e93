#pragma once
// What the benchmark programs share: a Prompter that answers without a user,
// readings of the process's memory, and running the sqlite3 shell beside us.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "ui/Prompter.h"

extern char** environ;

namespace veltra::bench {

// Keeps every message (and shows it on standard error: a benchmark that
// reports a failure has measured nothing); a save dialog answers saveAnswer.
class BenchPrompter : public ui::Prompter {
public:
  explicit BenchPrompter(std::optional<std::string> saveAnswer = {}) : saveAnswer_(std::move(saveAnswer)) {}
  ui::Answer message(std::string_view text, ui::Icon, ui::Buttons, std::string_view) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    messages.emplace_back(text);
    return ui::Answer::Ok;
  }
  std::optional<std::string> openFile(const ui::FileChoice&) override { return {}; }
  std::optional<std::string> saveFile(const ui::FileChoice&) override { return saveAnswer_; }
  void beginBusy(bool) override {}

  std::vector<std::string> messages;

private:
  std::optional<std::string> saveAnswer_;
};

// A "VmRSS:"-style field of /proc/self/status, in KiB.
inline long statusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with(field)) return std::stol(line.substr(std::string(field).size()));
  return 0;
}

// Lets the next peak reading start from the current resident set.
inline void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// Runs the sqlite3 shell with its standard output into output; its exit status.
inline int runShell(const std::vector<std::string>& args, const std::string& output = "/dev/null") {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, "sqlite3", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace veltra::bench
