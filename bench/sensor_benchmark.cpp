// Benchmarks of the sensor as the monitor runs it: a whole process per poll.
//
//   sensor_benchmark poll SENSOR BASELINE [RUNS]
//       one single-system poll against the simulated library (no latency),
//       alternated with a "hello world" built by the same toolchain; reports
//       the ratio of the median wall times and the peak memory of both.
//   sensor_benchmark listing SENSOR [SIZES...]
//       one listing run over 100, 1,000 and 10,000 systems (or SIZES);
//       reports the time per system at each size.
//   sensor_benchmark parallel SENSOR [SYSTEMS] [LATENCY_MS]
//       one listing run over 50 systems (or SYSTEMS) that answer each round
//       trip after 200 ms (or LATENCY_MS): without PARALLEL=, with
//       PARALLEL=1 and with PARALLEL=10; reports the ratios of the wall
//       times and the peak memory of the starting process.
//
// With BENCH_WINE=1 both programs are Windows executables run under Wine
// (`wine`). Any other value of BENCH_WINE names the Wine loader to run them
// with: /usr/lib/wine/wine64 (Debian's path) for 64-bit programs, since
// `wine` is a 32-bit process that starts a 64-bit program as a process of
// its own and waits for it; its start would add to both programs' time, and
// the peak memory read would be its own.
// The benchmark reports; it asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/bench_layout.h"
#include "bench/timed_process.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Command(const std::string& program, std::vector<std::string> args) {
  std::vector<std::string> argv;
  const char* wine = std::getenv("BENCH_WINE");
  if (wine && *wine) argv.push_back(std::string(wine) == "1" ? "wine" : wine);
  argv.push_back(program);
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Named by the process too: two benchmarks at once keep out of each other's way.
fs::path FreshDirectory(const std::string& name) {
  fs::path dir =
      fs::temp_directory_path() / ("brackwater-bench-" + name + "-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

// The profile lies in the working directory and the flavour is a PRTG one
// without the sensor-directory search, so the same layout serves Linux and
// Wine.
const std::vector<std::string> kEnvironment = {"BRACKWATER_FLAVOUR=Wendrel"};

// A history of `samples` polls half an hour apart, the newest an hour ago,
// of a data area that grows steadily.
std::string BenchHistory(int samples) {
  const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::string text;
  for (int i = 0; i < samples; ++i) {
    const std::time_t time = now - 3600 - static_cast<std::time_t>(samples - 1 - i) * 1800;
    std::tm utc{};
    gmtime_r(&time, &utc);
    char line[64];
    const std::size_t length = std::strftime(line, sizeof line, "%Y-%m-%dT%H:%M:%SZ", &utc);
    text.append(line, length);
    text.append(" " + std::to_string(1000000 + i * 10) + " 9000000\n");
  }
  return text;
}

constexpr int kForecastHistorySamples = 10000;

int Poll(const std::string& sensor, const std::string& baseline, int runs, bool forecast) {
  fs::path dir = FreshDirectory("poll");
  WriteText(dir / "PRD.P00", BenchProfile("PRD", HostName(0)));
  WriteText(dir / "rfcsim.json", BenchLandscape(1));
  if (forecast) WriteText(dir / "PRD.P00.hst", BenchHistory(kForecastHistorySamples));
  const auto sensor_command =
      Command(sensor, forecast ? std::vector<std::string>{"PRD.P00", "FORECAST"}
                               : std::vector<std::string>{"PRD.P00"});
  const auto baseline_command = Command(baseline, {});
  std::vector<double> sensor_ms, baseline_ms;
  for (int i = -3; i < runs; ++i) {  // three warm-up rounds
    ProcessMeasurement s = RunTimed(sensor_command, dir, kEnvironment);
    ProcessMeasurement b = RunTimed(baseline_command, dir, {});
    if (s.exit_code != 0) {
      std::fprintf(stderr, "the sensor's poll failed (exit %d)\n", s.exit_code);
      return 1;
    }
    if (i < 0) continue;
    sensor_ms.push_back(s.wall.count());
    baseline_ms.push_back(b.wall.count());
  }
  // The peak is the same from run to run; the highest of a few is kept.
  long sensor_kib = 0, baseline_kib = 0;
  for (int i = 0; i < 5; ++i) {
    sensor_kib = std::max(sensor_kib,
                          RunTimed(sensor_command, dir, kEnvironment, Watch::kPeakMemory).peak_kib);
    baseline_kib =
        std::max(baseline_kib, RunTimed(baseline_command, dir, {}, Watch::kPeakMemory).peak_kib);
  }
  double s = Median(sensor_ms), b = Median(baseline_ms);
  std::printf("single-system poll%s, %d runs each\n",
              forecast ? " with FORECAST over 10,000 samples" : "", runs);
  std::printf("  %-22s %10s %12s\n", "", "median ms", "peak KiB");
  std::printf("  %-22s %10.2f %12ld\n", "hello world", b, baseline_kib);
  std::printf("  %-22s %10.2f %12ld\n", "sensor poll", s, sensor_kib);
  std::printf(
      "  wall-time ratio %.2f (target at most 1.3), extra peak memory %ld KiB "
      "(target at most 1024)\n",
      s / b, sensor_kib - baseline_kib);
  fs::remove_all(dir);
  return 0;
}

int Listing(const std::string& sensor, const std::vector<int>& sizes) {
  std::printf("listing run, one process per size\n");
  std::printf("  %8s %12s %16s\n", "systems", "total ms", "ms per system");
  double per_system_1000 = 0, per_system_10000 = 0;
  for (int count : sizes) {
    fs::path dir = FreshDirectory("listing-" + std::to_string(count));
    for (int i = 0; i < count; ++i) {
      WriteText(dir / (SystemName(i) + ".P00"), BenchProfile(SystemName(i), HostName(i)));
    }
    WriteText(dir / "rfcsim.json", BenchLandscape(count));
    WriteText(dir / "SAP Tessaron.Gbl", BenchListing(count));
    ProcessMeasurement m = RunTimed(Command(sensor, {"GLOBAL", "BENCH"}), dir, kEnvironment);
    if (m.exit_code != 0) {
      std::fprintf(stderr, "the listing run of %d systems failed (exit %d)\n", count, m.exit_code);
      return 1;
    }
    double per_system = m.wall.count() / count;
    if (count == 1000) per_system_1000 = per_system;
    if (count == 10000) per_system_10000 = per_system;
    std::printf("  %8d %12.1f %16.4f\n", count, m.wall.count(), per_system);
    fs::remove_all(dir);
  }
  if (per_system_1000 > 0 && per_system_10000 > 0) {
    std::printf(
        "  10,000 systems took %.2f times as long as 1,000 (linear: 10, target at most "
        "12)\n",
        10 * per_system_10000 / per_system_1000);
  }
  return 0;
}

int Parallel(const std::string& sensor, int count, int latency_ms) {
  fs::path dir = FreshDirectory("parallel");
  for (int i = 0; i < count; ++i) {
    WriteText(dir / (SystemName(i) + ".P00"), BenchProfile(SystemName(i), HostName(i)));
  }
  WriteText(dir / "rfcsim.json", BenchLandscape(count, latency_ms));
  WriteText(dir / "SAP Tessaron.Gbl", BenchListing(count));
  std::printf("listing run of %d systems, %d ms a round trip\n", count, latency_ms);
  std::printf("  %-20s %12s %14s\n", "options", "wall ms", "peak KiB");
  struct Variant {
    const char* label;
    std::vector<std::string> arguments;
    ProcessMeasurement time;
    ProcessMeasurement memory;
  };
  Variant variants[] = {{"(none)", {"GLOBAL", "BENCH"}, {}, {}},
                        {"PARALLEL=1", {"GLOBAL", "BENCH", "", "PARALLEL=1"}, {}, {}},
                        {"PARALLEL=10", {"GLOBAL", "BENCH", "", "PARALLEL=10"}, {}, {}}};
  for (Variant& v : variants) {
    v.time = RunTimed(Command(sensor, v.arguments), dir, kEnvironment);
    v.memory = RunTimed(Command(sensor, v.arguments), dir, kEnvironment, Watch::kPeakMemory);
    if (v.time.exit_code != 0) {
      std::fprintf(stderr, "the run %s failed (exit %d)\n", v.label, v.time.exit_code);
      return 1;
    }
    std::printf("  %-20s %12.1f %14ld\n", v.label, v.time.wall.count(), v.memory.peak_kib);
  }
  std::printf("  PARALLEL=10 is %.2f times as fast as PARALLEL=1 (target at least 7)\n",
              variants[1].time.wall.count() / variants[2].time.wall.count());
  std::printf("  PARALLEL=1 takes %.3f times the run without the keyword (target at most 1)\n",
              variants[1].time.wall.count() / variants[0].time.wall.count());
  std::printf(
      "  PARALLEL=10's starting process: %+ld KiB against the run without the keyword "
      "(target at most +2048)\n",
      variants[2].memory.peak_kib - variants[0].memory.peak_kib);
  fs::remove_all(dir);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // The programs run in a directory of their own.
  for (std::size_t i = 1; i < args.size() && i < 3; ++i) {
    if (fs::exists(args[i])) args[i] = fs::absolute(args[i]).string();
  }
  if (args.size() >= 3 && (args[0] == "poll" || args[0] == "forecast")) {
    return Poll(args[1], args[2], args.size() > 3 ? std::atoi(args[3].c_str()) : 200,
                args[0] == "forecast");
  }
  if (args.size() >= 2 && args[0] == "listing") {
    std::vector<int> sizes;
    for (std::size_t i = 2; i < args.size(); ++i) sizes.push_back(std::atoi(args[i].c_str()));
    if (sizes.empty()) sizes = {100, 1000, 10000};
    return Listing(args[1], sizes);
  }
  if (args.size() >= 2 && args[0] == "parallel") {
    return Parallel(args[1], args.size() > 2 ? std::atoi(args[2].c_str()) : 50,
                    args.size() > 3 ? std::atoi(args[3].c_str()) : 200);
  }
  std::fprintf(stderr,
               "usage: sensor_benchmark poll SENSOR BASELINE [RUNS]\n"
               "       sensor_benchmark forecast SENSOR BASELINE [RUNS]\n"
               "       sensor_benchmark listing SENSOR [SIZES...]\n"
               "       sensor_benchmark parallel SENSOR [SYSTEMS] [LATENCY_MS]\n");
  return 2;
}
