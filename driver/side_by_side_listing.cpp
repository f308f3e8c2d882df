#include "driver/side_by_side_listing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "driver/listed_system.h"
#include "output/exit_codes.h"
#include "output/relayed_output.h"
#include "platform/child_process.h"
#include "platform/files.h"
#include "platform/installation_file.h"
#include "platform/scratch_directory.h"
#include "rfc/library_files.h"

namespace driver {
namespace {

using Clock = std::chrono::steady_clock;

// The deadline's own document is the last resort: the run ends its output
// itself this long before, with what the systems answered.
constexpr std::chrono::milliseconds kDeadlineMargin{300};
// How long systems measured beyond one that ended the run may take to log
// off before their processes are ended.
constexpr std::chrono::seconds kLogoffGrace{5};

std::optional<std::string> WholeFile(const std::string& path) {
  platform::UniqueFile file = platform::OpenForReading(path);
  if (!file) return std::nullopt;
  std::string text;
  char buffer[8192];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    text.append(buffer, got);
  }
  return text;
}

bool WriteWhole(platform::UniqueFile file, const std::string& text) {
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  return std::fclose(file.release()) == 0 && written;
}

// One system's process and its files.
struct Measurement {
  std::size_t index = 0;
  std::string out_path;
  std::string err_path;
  std::string result_path;
  std::string ini_path;
  std::string trace_directory;
  std::optional<platform::ChildProcess> process;
  std::optional<platform::ChildEnd> end;  // once ended
};

// What an ended system left, read before its files go.
struct Answer {
  std::string out;
  std::string err;
  std::optional<ListedCount> count;
  std::optional<std::string> trace;
  std::optional<std::string> ini;
  platform::ChildEnd end;
};

class SideBySide {
 public:
  SideBySide(RunState& run, RunServices& services, const std::vector<std::string>& systems,
             platform::ScratchDirectory scratch)
      : run_(run),
        services_(services),
        systems_(systems),
        scratch_(std::move(scratch)),
        ini_before_(WholeFile(rfc::SapRfcIniPath())),
        answers_(systems.size()) {}

  SideBySideOutcome Run(int at_once) {
    const Clock::time_point until =
        run_.Deadline ? *run_.Deadline - kDeadlineMargin : Clock::time_point::max();
    std::size_t next = 0;
    while (written_ < systems_.size() && !outcome_.ended) {
      while (running_.size() < static_cast<std::size_t>(at_once) && next < systems_.size()) {
        Start(next++);
      }
      WriteAnswered();
      if (written_ == systems_.size() || outcome_.ended) break;
      std::vector<platform::ChildProcess*> processes;
      for (Measurement& m : running_) processes.push_back(&*m.process);
      const std::optional<std::size_t> ended = platform::WaitForAny(processes, until);
      if (!ended) {
        TimeOut();
        break;
      }
      Collect(*ended);
    }
    // A system measured beyond the one that ended the run may log off as
    // it would, for a few seconds and within the deadline: one after
    // another the run would never have waited for it. What it measured is
    // dropped.
    if (outcome_.ended) {
      const Clock::time_point logoff_until = std::min(until, Clock::now() + kLogoffGrace);
      while (!running_.empty()) {
        std::vector<platform::ChildProcess*> processes;
        for (Measurement& m : running_) processes.push_back(&*m.process);
        const std::optional<std::size_t> ended = platform::WaitForAny(processes, logoff_until);
        if (!ended) break;
        running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(*ended));
      }
    }
    running_.clear();  // ends whatever still runs
    return std::move(outcome_);
  }

 private:
  void Start(std::size_t index) {
    const std::string stem = scratch_.path() + std::to_string(index);
    Measurement m;
    m.index = index;
    m.out_path = stem + ".out";
    m.err_path = stem + ".err";
    m.result_path = stem + ".result";
    m.ini_path = stem + ".ini";
    m.trace_directory = scratch_.MakeSubdirectory(std::to_string(index)).value_or("");
    // The system reads the destinations as they were when the run began.
    if (ini_before_) WriteWhole(platform::CreateForWriting(m.ini_path), *ini_before_);
    std::variant<platform::ChildProcess, std::string> started = platform::ChildProcess::Start(
        platform::ChildLaunch{.program = platform::ExecutablePath(),
                              .arguments = run_.Arguments,
                              .environment = {{kListedSystemVariable, std::to_string(index)},
                                              {kListedResultVariable, m.result_path},
                                              {"RFC_TRACE_DIR", m.trace_directory},
                                              {"RFC_INI", m.ini_path}},
                              .directory = {},
                              .output_path = m.out_path,
                              .error_path = m.err_path});
    if (auto* process = std::get_if<platform::ChildProcess>(&started)) {
      m.process.emplace(std::move(*process));
      running_.push_back(std::move(m));
      return;
    }
    // Not started: the system failed, with the cause on standard error.
    answers_[index] = Answer{.out = {},
                             .err = "process for " + systems_[index] +
                                    " not started: " + std::get<std::string>(started) + "\n",
                             .count = ListedCount{},
                             .trace = std::nullopt,
                             .ini = ini_before_,
                             .end = {}};
  }

  // What an ended (or stopped) system left.
  Answer Read(Measurement& m) const {
    return Answer{.out = WholeFile(m.out_path).value_or(""),
                  .err = WholeFile(m.err_path).value_or(""),
                  .count = ListedCountOf(WholeFile(m.result_path).value_or("")),
                  .trace = WholeFile(m.trace_directory + "Dev_Rfc.Trc"),
                  .ini = WholeFile(m.ini_path),
                  .end = m.process->End().value_or(platform::ChildEnd{})};
  }

  void Collect(std::size_t running_index) {
    Measurement& m = running_[running_index];
    answers_[m.index] = Read(m);
    running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(running_index));
  }

  // Writes the answers that are next in listing order.
  void WriteAnswered() {
    while (written_ < systems_.size() && answers_[written_] && !outcome_.ended) {
      Write(*answers_[written_]);
      answers_[written_].reset();
      ++written_;
    }
  }

  // The exit code a system ends the run with: as its process said, or as
  // it exited where it could not say so (SAP's classic library ends the
  // process itself after its error report). A process that wrote nothing
  // never ran its system (a failed start), whatever it exited with.
  static std::optional<int> EndsRun(const Answer& answer) {
    if (answer.count) {
      if (answer.count->state != ListedCount::State::kEndsRun) return std::nullopt;
      return answer.count->exit_code;
    }
    if (answer.end.kind == platform::ChildEnd::Kind::kExited && !answer.out.empty() &&
        (answer.end.code == output::kExitRfcError || answer.end.code == output::kExitRunError)) {
      return answer.end.code;
    }
    return std::nullopt;
  }

  void Write(const Answer& answer) {
    const std::optional<int> ends_run = EndsRun(answer);
    // A process that crashed or was cut off leaves no complete part, but
    // one stopped in its logoff had left its count with its part, and one
    // that ended the run said so once its part was whole.
    if (answer.count || ends_run) {
      const bool whole =
          answer.end.kind == platform::ChildEnd::Kind::kExited || (answer.count && ends_run);
      const std::string texts = WriteRelayed(answer.out, whole);
      // In a format that answers once, the system's texts are its error.
      if (ends_run && !run_.Document.Streams()) run_.Document.WriteErrorDocument(texts);
    }
    if (!answer.err.empty()) {
      services_.err.Write(answer.err);
      services_.err.Flush();
    }
    if (answer.trace && !answer.trace->empty()) {
      WriteWhole(platform::OpenForAppending(rfc::TraceFilePath()), *answer.trace);
    }
    if (answer.ini != ini_before_) {
      if (answer.ini) {
        WriteWhole(platform::CreateForWriting(rfc::SapRfcIniPath()), *answer.ini);
      } else {
        platform::RemoveFile(rfc::SapRfcIniPath());
      }
    }
    if (ends_run) {
      outcome_.ended = ends_run;
      return;
    }
    const ListedCount count = answer.count.value_or(ListedCount{});
    if (count.state == ListedCount::State::kProcessed) {
      ++outcome_.processed;
      if (services_.progress != nullptr) {
        services_.progress->Processed(run_.Document.record().channels);
      }
    } else if (count.state == ListedCount::State::kFailed) {
      ++outcome_.failed;
    }
    outcome_.forecast_troubles.insert(outcome_.forecast_troubles.end(),
                                      count.forecast_troubles.begin(),
                                      count.forecast_troubles.end());
  }

  // The system's texts as they are, its channels through the run's
  // document; in a format that answers once the texts are returned instead.
  std::string WriteRelayed(std::string_view relayed, bool whole) {
    std::string kept;
    for (const output::RelayedPart& part : output::RelayedParts(relayed, whole)) {
      if (const auto* text = std::get_if<std::string>(&part)) {
        if (run_.Document.Streams()) {
          services_.out.Write(*text);
        } else {
          kept += *text;
        }
        continue;
      }
      const auto& channel = std::get<output::ChannelRecord>(part);
      run_.Document.Clear();
      run_.Document.WriteChannel(channel.name, channel.value, channel.unit, channel.limits,
                                 channel.warning);
      services_.out.Write(run_.Document.Take());
    }
    return kept;
  }

  // The deadline: what still runs ends, every system that answered is
  // written (those after one still measured too), in listing order.
  void TimeOut() {
    for (Measurement& m : running_) {
      m.process->Stop();
      outcome_.timed_out.push_back(systems_[m.index]);
      answers_[m.index] = Read(m);
    }
    running_.clear();
    for (std::size_t index = written_; index < systems_.size(); ++index) {
      if (answers_[index] && answers_[index]->count) Write(*answers_[index]);
    }
  }

  RunState& run_;
  RunServices& services_;
  const std::vector<std::string>& systems_;
  platform::ScratchDirectory scratch_;
  const std::optional<std::string> ini_before_;
  std::vector<std::optional<Answer>> answers_;
  std::deque<Measurement> running_;
  std::size_t written_ = 0;
  SideBySideOutcome outcome_;
};

}  // namespace

std::optional<SideBySideOutcome> MeasureSideBySide(RunState& run, RunServices& services,
                                                   const std::vector<std::string>& systems,
                                                   int at_once) {
  std::optional<platform::ScratchDirectory> scratch = platform::ScratchDirectory::Create();
  if (!scratch) return std::nullopt;
  return SideBySide(run, services, systems, std::move(*scratch)).Run(at_once);
}

}  // namespace driver
