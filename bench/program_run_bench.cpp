// The whole program as a user runs it, beside an empty Qt window timed by the
// same rule:
// - start-up: the time from process start to the first painted frame, the
//   CPU time until then and the peak resident memory;
// - a run of both workers (both start buttons pressed, until worker 2's
//   message): the delay of the GUI thread's event loop, seen by a probe timer
//   every 5 ms, the CPU time of the whole process over the run and its peak
//   resident memory. The CPU is measured once more without the probe, which
//   costs a little itself.
//
//   program_run_bench [--startups N]      runs everything, prints the table
//   program_run_bench --window startup     one start-up of the real window
//   program_run_bench --window run [--probe]   one run of both workers
//
// Uses the display it is given (DISPLAY, e.g. under xvfb-run), or Qt's
// offscreen platform when there is none.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/formularz.h"
#include "chart/chart.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "dialogs/message_form.h"
#include "framework/application.h"
#include "framework/button.h"
#include "process_figures.h"
#include "runtime/threads.h"
#include "workers/worker_view.h"

extern char** environ;

using namespace nitko;
using namespace nitko::bench;

namespace {

// ---- in the window process ----

double Percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t rank = static_cast<size_t>(std::ceil(q * static_cast<double>(v.size())));
  return v[std::clamp<size_t>(rank, 1, v.size()) - 1];
}

// How late the 5 ms probe fires each time beyond its period: the time the
// event loop was busy with something else.
class TLoopDelayProbe {
 public:
  void Start() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const Clock::time_point now = Clock::now();
      const double ms = std::chrono::duration<double, std::milli>(now - last_).count();
      delaysMs_.push_back(std::max(0.0, ms - kPeriodMs));
      last_ = now;
    });
    last_ = Clock::now();
    timer_.start(static_cast<int>(kPeriodMs));
  }
  void Stop() { timer_.stop(); }
  const std::vector<double>& DelaysMs() const { return delaysMs_; }

 private:
  static constexpr double kPeriodMs = 5;
  QTimer timer_;
  Clock::time_point last_;
  std::vector<double> delaysMs_;
};

// Presses both start buttons and waits for both workers to finish: worker 1's
// thread ends, worker 2 shows its message.
class TWorkersRun {
 public:
  explicit TWorkersRun(bool probe) : probe_(probe) {}

  void Start() {
    cpu0_ = CpuSeconds();
    t0_ = Clock::now();
    chartPaints0_ = Formularz->Chart1->PaintCount();
    kept0_ = Formularz->Chart1->Background().Reused();
    if (probe_) probe_timer_.Start();
    Formularz->BitBtn3->Click();
    Formularz->BitBtn6->Click();
    QObject::connect(&watch_, &QTimer::timeout, [this] { Watch(); });
    watch_.start(50);
  }

 private:
  void Watch() {
    TWorkerView& view = Formularz->Workers();
    if (view.messages.Open().empty() || ThreadRunning(view.state.thread1.load())) return;
    const double cpu = CpuSeconds() - cpu0_;
    const double wall = std::chrono::duration<double>(Clock::now() - t0_).count();
    watch_.stop();
    probe_timer_.Stop();
    Report("run_s", wall);
    Report("cpu_s", cpu);
    Report("cpu_pct_of_core", 100 * cpu / wall);
    Report("peak_rss_kib", static_cast<double>(PeakResidentKib()));
    Report("points1", Formularz->Series1->PointCount());
    Report("points2", Formularz->Series2->PointCount());
    Report("message", view.messages.Open()[0]->MessageText());
    Report("chart_paints", Formularz->Chart1->PaintCount() - chartPaints0_);
    Report("kept_background",
           static_cast<double>(Formularz->Chart1->Background().Reused() - kept0_));
    if (probe_) {
      const std::vector<double>& d = probe_timer_.DelaysMs();
      Report("probe_ticks", static_cast<double>(d.size()));
      Report("delay_p50_ms", Percentile(d, 0.50));
      Report("delay_p99_ms", Percentile(d, 0.99));
      Report("delay_max_ms", d.empty() ? 0 : *std::max_element(d.begin(), d.end()));
    }
    view.messages.CloseAll();
    Formularz->Close();
  }

  const bool probe_;
  double cpu0_ = 0;
  int chartPaints0_ = 0;
  long long kept0_ = 0;
  Clock::time_point t0_;
  TLoopDelayProbe probe_timer_;
  QTimer watch_;
};

int RunWindow(int argc, char** argv, bool run, bool probe) {
  ProcessStart();
  TFirstFrameApp qt(argc, argv);
  TWorkersRun workers(probe);
  qt.onFirstFrame = [&](double ms) {
    if (run) {
      // Let the start-up settle before the buttons are pressed.
      QTimer::singleShot(300, &qt, [&] { workers.Start(); });
      return;
    }
    Report("first_frame_ms", ms);
    Report("platform", QGuiApplication::platformName().toStdString());
    QTimer::singleShot(500, &qt, [] {
      Report("peak_rss_kib", static_cast<double>(PeakResidentKib()));
      Report("cpu_ms", CpuSeconds() * 1000);
      Formularz->Close();
    });
  };
  // The program's own start-up, as main runs it.
  return RunProgram(argc, argv, CreateProgramForms);
}

// ---- in the launcher ----

using TFigures = std::map<std::string, std::string>;

std::string SelfPath() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) throw std::runtime_error("cannot find this program's file");
  return std::string(path, static_cast<size_t>(n));
}

// Runs the program with the spawn time in its environment and reads the
// key=value lines it prints.
TFigures Spawn(const std::string& exe, const std::vector<std::string>& args) {
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);

  std::vector<std::string> env;
  const std::string prefix = std::string(kSpawnedAtEnv) + "=";
  for (char** e = environ; *e != nullptr; ++e)
    if (std::strncmp(*e, prefix.c_str(), prefix.size()) != 0) env.emplace_back(*e);
  std::vector<char*> argv{const_cast<char*>(exe.c_str())}, envp;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  // Stamped last, so that the start-up counts from the spawn itself.
  std::string stamp = prefix + std::to_string(Clock::now().time_since_epoch().count());
  envp.push_back(stamp.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (failed != 0) {
    close(out[0]);
    throw std::runtime_error("cannot start " + exe + ": " + std::strerror(failed));
  }
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(exe + " failed (status " + std::to_string(status) + ")");

  TFigures figures;
  size_t from = 0;
  for (size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1) {
    const std::string line = text.substr(from, nl - from);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) figures[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return figures;
}

double Value(const TFigures& f, const std::string& key) {
  auto it = f.find(key);
  if (it == f.end()) throw std::runtime_error("no figure " + key);
  return std::stod(it->second);
}

struct TSpread {
  double median, min, max;
};

TSpread Spread(const std::vector<TFigures>& runs, const std::string& key, double scale = 1) {
  std::vector<double> v;
  for (const TFigures& f : runs) v.push_back(Value(f, key) * scale);
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v.front(), v.back()};
}

std::string Show(const TSpread& s) {
  char text[64];
  std::snprintf(text, sizeof text, "%7.1f [%.1f-%.1f]", s.median, s.min, s.max);
  return text;
}

int Launch(int startups) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string self = SelfPath();
  const std::string empty = self.substr(0, self.rfind('/') + 1) + "empty_qt_window";

  std::vector<TFigures> program, yardstick;
  for (int i = 0; i < startups; ++i) {  // alternating, so both meet the same machine
    yardstick.push_back(Spawn(empty, {}));
    program.push_back(Spawn(self, {"--window", "startup"}));
  }
  const TFigures probed = Spawn(self, {"--window", "run", "--probe"});
  const TFigures quiet = Spawn(self, {"--window", "run"});

  const char* display = std::getenv("DISPLAY");
  std::printf("Nitkograf beside an empty Qt window: platform %s%s%s, %d start-ups each, "
              "median [min-max]\n",
              program[0].at("platform").c_str(), display ? ", display " : "", display ? display : "",
              startups);
  std::printf("%-34s %-24s %-24s %7s  %s\n", "", "Nitkograf", "empty Qt window", "ratio", "goal");
  auto row = [&](const char* name, const std::string& key, double scale) {
    const TSpread p = Spread(program, key, scale), e = Spread(yardstick, key, scale);
    std::printf("%-34s %-24s %-24s %7.2f  ratio <= 1.2\n", name, Show(p).c_str(), Show(e).c_str(),
                p.median / e.median);
  };
  row("first painted frame, ms", "first_frame_ms", 1);
  row("peak resident memory, MiB", "peak_rss_kib", 1 / 1024.0);
  row("CPU time to first frame + 0.5 s, ms", "cpu_ms", 1);

  std::printf(
      "\nBoth workers, one whole run (%.2f s; %g and %g points, %g chart paints, %g from the kept "
      "background; \"%s\")\n",
      Value(probed, "run_s"), Value(probed, "points1"), Value(probed, "points2"),
      Value(probed, "chart_paints"), Value(probed, "kept_background"),
      probed.at("message").c_str());
  std::printf("%-34s %14s %14s  %s\n", "", "with probe", "without probe", "goal");
  std::printf("%-34s %14.3f %14s  < 1\n", "GUI event-loop delay p99, ms",
              Value(probed, "delay_p99_ms"), "");
  std::printf("%-34s %14.3f %14s  < 10\n", "GUI event-loop delay longest, ms",
              Value(probed, "delay_max_ms"), "");
  std::printf("%-34s %14.3f %14s\n", "GUI event-loop delay median, ms", Value(probed, "delay_p50_ms"), "");
  std::printf("%-34s %14.0f %14s\n", "probe ticks", Value(probed, "probe_ticks"), "");
  std::printf("%-34s %14.3f %14.3f\n", "CPU over the run, s", Value(probed, "cpu_s"), Value(quiet, "cpu_s"));
  std::printf("%-34s %14.2f %14.2f  < 1\n", "CPU over the run, % of one core",
              Value(probed, "cpu_pct_of_core"), Value(quiet, "cpu_pct_of_core"));
  const double emptyPeak = Spread(yardstick, "peak_rss_kib").median;
  std::printf("%-34s %14.1f %14.1f  <= %.1f (1.2x empty window)\n", "peak resident memory, MiB",
              Value(probed, "peak_rss_kib") / 1024, Value(quiet, "peak_rss_kib") / 1024,
              1.2 * emptyPeak / 1024);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 3 && std::string(argv[1]) == "--window") {
      const bool run = std::string(argv[2]) == "run";
      const bool probe = argc >= 4 && std::string(argv[3]) == "--probe";
      return RunWindow(argc, argv, run, probe);
    }
    int startups = 7;
    if (argc >= 3 && std::string(argv[1]) == "--startups") startups = std::max(1, std::atoi(argv[2]));
    return Launch(startups);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "program_run_bench: %s\n", e.what());
    return 1;
  }
}
