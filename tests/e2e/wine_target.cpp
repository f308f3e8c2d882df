#include "tests/e2e/wine_target.h"

#include <cctype>
#include <cstdint>
#include <fstream>
#include <random>
#include <stdexcept>
#include <utility>

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Booting a prefix takes some ten seconds; a busy machine gets ample time.
constexpr std::chrono::minutes kBootTimeout{5};
// How long the wineserver outlives its last Windows process.
constexpr std::chrono::seconds kServerLinger{60};

fs::path FreshTemporaryDirectory(const std::string& stem) {
  std::random_device seed;
  for (;;) {
    fs::path candidate = fs::temp_directory_path() / (stem + std::to_string(seed()));
    if (fs::create_directory(candidate)) return candidate;
  }
}

// Runs one of Wine's own tools to its end; throws when it fails.
void RunWineTool(std::vector<std::string> argv, std::vector<std::string> environment) {
  ChildProcessRequest request;
  request.argv = std::move(argv);
  request.environment = std::move(environment);
  request.timeout = kBootTimeout;
  ChildProcessResult result = RunChildProcess(request);
  if (result.exit_code != 0) {
    throw std::runtime_error("Wine: \"" + request.argv.front() + "\" failed (exit " +
                             std::to_string(result.exit_code) + ", signal " +
                             std::to_string(result.signal) + "):\n" + result.err);
  }
}

// Wine's name of the width `executable` was built for, from its PE header's
// machine field: "win64" for x86-64, "win32" for anything else.
std::string ArchitectureOf(const fs::path& executable) {
  std::ifstream file(executable, std::ios::binary);
  unsigned char header[0x40] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) {
    throw std::runtime_error("not readable: " + executable.string());
  }
  const std::uint32_t pe = static_cast<std::uint32_t>(header[0x3c]) |
                           static_cast<std::uint32_t>(header[0x3d]) << 8 |
                           static_cast<std::uint32_t>(header[0x3e]) << 16 |
                           static_cast<std::uint32_t>(header[0x3f]) << 24;
  unsigned char machine[2] = {};
  file.seekg(static_cast<std::streamoff>(pe) + 4);
  if (!file.read(reinterpret_cast<char*>(machine), sizeof machine)) {
    throw std::runtime_error("no PE header: " + executable.string());
  }
  return machine[0] == 0x64 && machine[1] == 0x86 ? "win64" : "win32";
}

// The loader that starts a program of `architecture` itself. Wine's `wine`
// is the 32-bit one: handed a 64-bit program it starts it through a second
// process, which now and then fails ("ShellExecuteEx failed: Internal
// error."). Debian keeps the 64-bit loader out of PATH.
std::string LoaderFor(const std::string& architecture) {
  if (architecture != "win64") return "wine";
  const fs::path debian_loader = "/usr/lib/wine/wine64";
  if (fs::exists(debian_loader)) return debian_loader.string();
  return "wine64";
}

}  // namespace

WinePrefix::WinePrefix(std::string architecture)
    : architecture_(std::move(architecture)),
      loader_(LoaderFor(architecture_)),
      root_(FreshTemporaryDirectory("brackwater-wine-")) {
  std::vector<std::string> environment = CleanEnvironment();
  for (const std::string& entry : Environment()) environment.push_back(entry);
  std::vector<std::string> boot_environment = environment;
  // No offer to install Wine's .NET and HTML engines (the sensor needs
  // neither), and no menu entries for the prefix in the user's desktop.
  SetVariable(boot_environment, "WINEDLLOVERRIDES", "mscoree,mshtml,winemenubuilder.exe=d");

  // The server comes first and stays while scenarios follow each other, so
  // that Wine's services, started once by the boot, keep running and each
  // sensor run takes a fraction of a second. Should this process die, the
  // server still ends on its own after the linger time.
  try {
    RunWineTool({"wineserver", "-p" + std::to_string(kServerLinger.count())}, environment);
    RunWineTool({"wineboot", "-i"}, boot_environment);
    // A program that crashes ends at once with its exception's code, as on
    // a Windows host without a post-mortem debugger. Wine's default starts
    // its debugger, winedbg, which takes seconds, writes its report on the
    // crashed program's standard output and may show a crash dialog; an
    // empty debugger command starts nothing (Wine ignores SetErrorMode
    // here, so only the prefix can say so).
    RunWineTool(
        {loader_, "reg", "add", "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
         "/v", "Debugger", "/t", "REG_SZ", "/d", "", "/f"},
        environment);
    for (const fs::directory_entry& entry : fs::directory_iterator(DriveC())) {
      own_entries_.insert(entry.path().filename().string());
    }
  } catch (...) {
    Remove();
    throw;
  }
}

WinePrefix::~WinePrefix() { Remove(); }

void WinePrefix::Remove() noexcept {
  try {
    std::vector<std::string> environment = CleanEnvironment();
    for (const std::string& entry : Environment()) environment.push_back(entry);
    RunWineTool({"wineserver", "-k"}, environment);
  } catch (const std::exception&) {
    // The prefix goes anyway; a server that could not be stopped ends by
    // itself after its linger time.
  }
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

fs::path WinePrefix::DriveC() const { return root_ / "drive_c"; }

void WinePrefix::MapDrive(char letter, const fs::path& host_directory) const {
  fs::path link =
      root_ / "dosdevices" /
      (std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(letter)))) + ":");
  fs::remove(link);
  fs::create_directory_symlink(host_directory, link);
}

const std::string& WinePrefix::Loader() const { return loader_; }

std::vector<std::string> WinePrefix::Environment() const {
  return {"WINEPREFIX=" + root_.string(), "WINEARCH=" + architecture_, "WINEDEBUG=-all"};
}

WineTarget::WineTarget(fs::path executable)
    : executable_(fs::absolute(std::move(executable))),
      // The classic library takes priority where both lie beside the program.
      library_name_(fs::exists(executable_.parent_path() / "librfc32.dll") ||
                            !fs::exists(executable_.parent_path() / "sapnwrfc.dll")
                        ? "librfc32.dll"
                        : "sapnwrfc.dll"),
      prefix_(std::make_unique<WinePrefix>(ArchitectureOf(executable_))) {}

std::map<char, DriveRoot> WineTarget::PrepareDrives(const fs::path& scratch) {
  std::map<char, DriveRoot> drives;
  drives['C'] = DriveRoot{prefix_->DriveC(), prefix_->OwnEntries(), true};
  for (char letter : {'D', 'E'}) {
    fs::path directory = scratch / "drives" / std::string(1, letter);
    fs::create_directories(directory);
    prefix_->MapDrive(letter, directory);
    drives[letter].host_directory = directory;
  }
  return drives;
}

ChildProcessRequest WineTarget::Command(const fs::path& executable,
                                        const std::vector<std::string>& arguments,
                                        const std::map<std::string, std::string>& environment,
                                        const fs::path& working_directory,
                                        const fs::path& /*scratch*/) const {
  ChildProcessRequest request;
  request.argv = {prefix_->Loader(), executable.string()};
  request.argv.insert(request.argv.end(), arguments.begin(), arguments.end());
  request.environment = CleanEnvironment();
  for (const std::string& entry : prefix_->Environment()) request.environment.push_back(entry);
  for (const auto& [name, value] : environment) SetVariable(request.environment, name, value);
  request.working_directory = working_directory;
  return request;
}

std::string WineTarget::Normalise(std::string written) const {
  std::string normal;
  normal.reserve(written.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (written[i] == '\r' && i + 1 < written.size() && written[i + 1] == '\n') continue;
    normal.push_back(written[i]);
  }
  return normal;
}

// Now and then Wine's 64-bit loader ends within milliseconds with exit
// code 1 and not a word, before the program starts (seen in two of eight
// runs of the 64-bit suites on a busy machine, once in each).
bool WineTarget::NeverRan(const ChildProcessResult& result) const {
  return !result.timed_out && result.signal == 0 && result.exit_code == 1 && result.out.empty() &&
         result.err.empty();
}

bool WineTarget::Crashed(const ChildProcessResult& result) const {
  constexpr std::uint32_t kAccessViolation = 0xC0000005;
  return !result.timed_out && result.signal == 0 &&
         result.exit_code == static_cast<int>(kAccessViolation & 0xFF);
}

}  // namespace e2e
