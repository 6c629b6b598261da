// Start-up time of the editor: from launch until both mark editors are shown (the program's
// --quit-when-shown flag), beside a bare Qt program that shows one main window. Both run headless
// on the offscreen platform, each launch a new process.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

fs::path BinaryFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// Runs the program to its end; false when it could not be started or did not exit with 0.
bool Launch(const fs::path& program, std::vector<std::string> arguments) {
  std::vector<char*> argv;
  std::string path = program.string();
  argv.push_back(path.data());
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The platform's notices on stderr would drown the figures.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A fresh profile folder per run of the benchmark program, so the first launch prepares the
// default data and the timed launches find it in place, as a user's second start would.
struct Environment {
  Environment() {
    folder = fs::temp_directory_path() / ("markedit-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("WINDIR", (folder / "windows").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  }
  ~Environment() { fs::remove_all(folder); }
  fs::path folder;
};

Environment& Profile() {
  static Environment environment;
  return environment;
}

void Run(benchmark::State& state, const fs::path& program, const std::vector<std::string>& arguments) {
  Profile();
  if (!Launch(program, arguments)) {  // warm-up, and a check that it works at all
    state.SkipWithError(("could not run " + program.string()).c_str());
    return;
  }
  for (auto _ : state)
    if (!Launch(program, arguments)) state.SkipWithError("a launch failed");
}

void BM_EditorStartUntilBothEditorsShown(benchmark::State& state) {
  Run(state, BinaryFolder() / "markedit", {"--quit-when-shown", "C001", "M01"});
}

// The first start of a new user: the default profile, alias file and demo database are made first.
void BM_EditorFirstStartOnFreshProfile(benchmark::State& state) {
  const fs::path folder = Profile().folder;
  const fs::path program = BinaryFolder() / "markedit";
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(folder);
    fs::create_directories(folder);
    state.ResumeTiming();
    if (!Launch(program, {"--quit-when-shown", "C001", "M01"})) state.SkipWithError("a launch failed");
  }
}

void BM_BareQtMainWindow(benchmark::State& state) {
  Run(state, BinaryFolder() / "bench-bare-window", {});
}

BENCHMARK(BM_EditorStartUntilBothEditorsShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_EditorFirstStartOnFreshProfile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_BareQtMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
