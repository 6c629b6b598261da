// Start-up cost of the editor: from launch until both mark editors are shown (the program's
// --quit-when-shown flag), beside the yardstick bench-bare-window, the least a program of this job
// must load. Both run headless on the offscreen platform, each launch a new process, on a profile
// prepared by a first launch, as a user's second start finds it.
//
// Reported for each program, as medians: wall time, instructions and peak memory (the child's
// maximum resident set, from wait4), and the editor's ratio to the yardstick. The runs alternate
// (editor, yardstick, editor, yardstick ...), so that a load on the machine falls on both alike.
// Instructions come from the kernel's counters (perf_event_open) when it gives them, otherwise
// from a few runs of each program under valgrind's callgrind, which counts them exactly but slowly.
//
//   bench_startup [--rounds N] [--callgrind-runs N]

#include <fcntl.h>
#include <linux/perf_event.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path BinaryFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

struct Command {
  std::string program;
  std::vector<std::string> arguments;
};

// What one launch cost; nothing when it could not be started or did not exit with 0.
struct Sample {
  double milliseconds = 0;
  double peakMiB = 0;
  std::optional<uint64_t> instructions;  // from the kernel's counters, when asked and given
};

// A counter of the user-space instructions of `pid` and of the processes it starts, counting from
// its next exec; -1 when the kernel does not give one.
int OpenInstructionCounter(pid_t pid) {
  perf_event_attr attr{};
  attr.size = sizeof attr;
  attr.type = PERF_TYPE_HARDWARE;
  attr.config = PERF_COUNT_HW_INSTRUCTIONS;
  attr.disabled = 1;
  attr.enable_on_exec = pid != 0;
  attr.inherit = 1;
  attr.exclude_kernel = 1;
  attr.exclude_hv = 1;
  return static_cast<int>(syscall(SYS_perf_event_open, &attr, pid, -1, -1, 0));
}

bool KernelCountsInstructions() {
  const int fd = OpenInstructionCounter(0);
  if (fd < 0) return false;
  close(fd);
  return true;
}

// Runs the command to its end with its standard error written to `errorFile` (the platform's
// notices would drown the figures otherwise). The child waits on a pipe until the counter, when
// one is asked for, is attached, so that it counts from the exec on.
std::optional<Sample> Launch(const Command& command, bool countInstructions,
                             const std::string& errorFile = "/dev/null") {
  std::vector<std::string> words{command.program};
  words.insert(words.end(), command.arguments.begin(), command.arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int gate[2];
  if (pipe(gate) != 0) return std::nullopt;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) {
    close(gate[0]);
    close(gate[1]);
    return std::nullopt;
  }
  if (pid == 0) {
    close(gate[1]);
    char go;
    if (read(gate[0], &go, 1) != 1) _exit(126);
    close(gate[0]);
    const int error = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (error >= 0) dup2(error, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(gate[0]);
  const int counter = countInstructions ? OpenInstructionCounter(pid) : -1;
  const char go = 1;
  const bool released = write(gate[1], &go, 1) == 1;
  close(gate[1]);
  int status = 0;
  rusage usage{};
  const pid_t waited = wait4(pid, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  std::optional<uint64_t> instructions;
  if (counter >= 0) {
    uint64_t count = 0;
    if (read(counter, &count, sizeof count) == sizeof count) instructions = count;
    close(counter);
  }
  if (!released || waited != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  Sample sample;
  sample.milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
  sample.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
  sample.instructions = instructions;
  return sample;
}

// The instructions of one run under callgrind, read from the total it reports on exit.
std::optional<uint64_t> CallgrindInstructions(const Command& command, const fs::path& folder) {
  const fs::path out = folder / "callgrind.out";
  const fs::path log = folder / "callgrind.log";
  Command traced{"/usr/bin/valgrind",
                 {"--tool=callgrind", "--callgrind-out-file=" + out.string(), command.program}};
  traced.arguments.insert(traced.arguments.end(), command.arguments.begin(), command.arguments.end());
  const bool ran = Launch(traced, false, log.string()).has_value();
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  fs::remove(out);
  fs::remove(log);
  // callgrind ends with a line "==PID== Collected : N".
  const std::string all = text.str();
  const size_t at = all.rfind("Collected :");
  if (!ran || at == std::string::npos) return std::nullopt;
  const char* digits = all.c_str() + at + std::strlen("Collected :");
  char* end = nullptr;
  const unsigned long long total = std::strtoull(digits, &end, 10);
  if (end == digits) return std::nullopt;
  return total;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A fresh profile folder for this run of the benchmark, removed at its end.
struct Profile {
  Profile() {
    folder = fs::temp_directory_path() / ("markedit-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("WINDIR", (folder / "windows").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
  }
  ~Profile() { fs::remove_all(folder); }
  Profile(const Profile&) = delete;
  Profile& operator=(const Profile&) = delete;
  fs::path folder;
};

struct Figures {
  std::vector<double> milliseconds, peakMiB, instructions;
};

int PositiveOption(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = PositiveOption(argc, argv, "--rounds", 15);
  const int callgrindRuns = PositiveOption(argc, argv, "--callgrind-runs", 3);
  Profile profile;
  const Command editor{(BinaryFolder() / "markedit").string(), {"--quit-when-shown", "C001", "M01"}};
  const Command yardstick{(BinaryFolder() / "bench-bare-window").string(), {}};

  // The first launches make the default data, alias file and databases; they also check that both
  // programs run at all.
  for (const Command* command : {&editor, &yardstick})
    if (!Launch(*command, false)) {
      std::fprintf(stderr, "bench_startup: could not run %s\n", command->program.c_str());
      return 1;
    }

  const bool kernelCounts = KernelCountsInstructions();
  Figures figures[2];
  const Command* commands[2] = {&editor, &yardstick};
  for (int round = 0; round < rounds; ++round)
    for (int which = 0; which < 2; ++which) {
      const std::optional<Sample> sample = Launch(*commands[which], kernelCounts);
      if (!sample) {
        std::fprintf(stderr, "bench_startup: a launch of %s failed\n", commands[which]->program.c_str());
        return 1;
      }
      figures[which].milliseconds.push_back(sample->milliseconds);
      figures[which].peakMiB.push_back(sample->peakMiB);
      if (sample->instructions) figures[which].instructions.push_back(double(*sample->instructions));
    }
  std::string counted = "the kernel's counters";
  if (!kernelCounts) {
    counted = "callgrind, " + std::to_string(callgrindRuns) + " runs each";
    for (int run = 0; run < callgrindRuns; ++run)
      for (int which = 0; which < 2; ++which) {
        const std::optional<uint64_t> count = CallgrindInstructions(*commands[which], profile.folder);
        if (!count) {
          std::fprintf(stderr, "bench_startup: %s did not run under callgrind\n",
                       commands[which]->program.c_str());
          return 1;
        }
        figures[which].instructions.push_back(double(*count));
      }
  }

  std::printf("Start until shown, medians of %d interleaved runs (instructions: %s)\n", rounds,
              counted.c_str());
  std::printf("%-22s %12s %12s %8s\n", "", "editor", "yardstick", "ratio");
  const auto row = [&](const char* name, std::vector<double> Figures::*measure, double scale) {
    const double e = Median(figures[0].*measure) / scale;
    const double y = Median(figures[1].*measure) / scale;
    std::printf("%-22s %12.1f %12.1f %7.2fx\n", name, e, y, y > 0 ? e / y : 0.0);
  };
  row("wall time (ms)", &Figures::milliseconds, 1);
  row("instructions (M)", &Figures::instructions, 1e6);
  row("peak memory (MiB)", &Figures::peakMiB, 1);

  // A new user's first start also makes the default profile, alias file and demo database.
  std::vector<double> first;
  for (int run = 0; run < std::min(rounds, 5); ++run) {
    fs::remove_all(profile.folder);
    fs::create_directories(profile.folder);
    const std::optional<Sample> sample = Launch(editor, false);
    if (!sample) {
      std::fprintf(stderr, "bench_startup: a first start on a fresh profile failed\n");
      return 1;
    }
    first.push_back(sample->milliseconds);
  }
  std::printf("first start of the editor on a fresh profile: %.1f ms (median of %zu)\n", Median(first),
              first.size());
  return 0;
}
