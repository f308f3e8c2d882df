#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <utility>
#include <vector>

#include "platform/child_process.h"

namespace platform {
namespace {

// How long an ended child may take to be gone. Windows ends a terminated
// process at once; Wine has been seen to leave one half-ended for good, and
// the parent must not wait for it for ever (its job ends what is left when
// its handle closes).
constexpr DWORD kTerminationWaitMs = 5000;

// How often a start that failed with an internal error is tried again, and
// the pause before each try.
constexpr int kStartRetries = 2;
constexpr DWORD kStartRetryPauseMs = 50;

}  // namespace

struct ChildProcess::State {
  HANDLE process = nullptr;
  // Holds the child alone and ends it when closed: when the parent ends,
  // however, the system closes the job and the child ends with it.
  HANDLE job = nullptr;
  bool stopped = false;
  std::optional<ChildEnd> end;

  State() = default;
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  ~State() {
    if (process != nullptr && !end) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, kTerminationWaitMs);
    }
    if (process != nullptr) CloseHandle(process);
    if (job != nullptr) CloseHandle(job);
  }

  void Look() {
    if (end || WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    // An unhandled exception ends a process with the exception's code, an
    // NTSTATUS of error severity.
    ChildEnd::Kind kind = ChildEnd::Kind::kExited;
    if (stopped) {
      kind = ChildEnd::Kind::kStopped;
    } else if ((code & 0xC0000000U) == 0xC0000000U) {
      kind = ChildEnd::Kind::kCrashed;
    }
    end = ChildEnd{kind, static_cast<int>(code)};
  }
};

namespace {

// A handle closed when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, nullptr); }

 private:
  HANDLE handle_;
};

std::string Cause(const std::string& what) {
  return what + " (error " + std::to_string(GetLastError()) + ")";
}

// The program's narrow texts are in the ANSI code page.
std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The parent's environment read wide, so that no character of it is lost,
// with the variables `launch` sets replaced: a block of "name=value" texts,
// each ended by a NUL, the block by another.
std::wstring ChildEnvironment(const ChildLaunch& launch) {
  std::vector<std::pair<std::wstring, std::wstring>> set;
  for (const auto& [name, value] : launch.environment) set.emplace_back(Wide(name), Wide(value));
  std::wstring block;
  if (wchar_t* strings = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
      const std::wstring_view variable(entry);
      // A name may begin with "=" (the drives' working directories).
      const std::wstring_view name = variable.substr(0, variable.find(L'=', 1));
      const bool replaced = std::any_of(
          set.begin(), set.end(), [&](const auto& pair) { return SameName(pair.first, name); });
      if (!replaced) block.append(variable).push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
  }
  for (const auto& [name, value] : set) block.append(name + L"=" + value).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

HANDLE InheritableFile(const std::wstring& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     &inheritable, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The attribute list that hands the child exactly `handles`.
class HandleList {
 public:
  explicit HandleList(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (InitializeProcThreadAttributeList(list, 1, 0, &size) == FALSE) return;
    initialised_ = true;
    if (UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                  handles_.size() * sizeof(HANDLE), nullptr, nullptr) != FALSE) {
      list_ = list;
    }
  }
  ~HandleList() {
    if (initialised_) {
      DeleteProcThreadAttributeList(
          reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data()));
    }
  }
  HandleList(const HandleList&) = delete;
  HandleList& operator=(const HandleList&) = delete;
  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  std::vector<HANDLE> handles_;
  std::vector<unsigned char> storage_;
  bool initialised_ = false;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace

std::variant<ChildProcess, std::string> ChildProcess::Start(const ChildLaunch& launch) {
  const Handle input(InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING));
  if (!input.valid()) return Cause("NUL");
  const Handle output(InheritableFile(Wide(launch.output_path), GENERIC_WRITE, CREATE_ALWAYS));
  if (!output.valid()) return Cause(launch.output_path);
  const Handle error(InheritableFile(Wide(launch.error_path), GENERIC_WRITE, CREATE_ALWAYS));
  if (!error.valid()) return Cause(launch.error_path);
  const HandleList handed({input.get(), output.get(), error.get()});
  if (handed.get() == nullptr) return Cause("the handle list");

  Handle job(CreateJobObjectW(nullptr, nullptr));
  if (!job.valid()) return Cause("CreateJobObject");
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                              sizeof(limits)) == FALSE) {
    return Cause("SetInformationJobObject");
  }

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof(startup);
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdInput = input.get();
  startup.StartupInfo.hStdOutput = output.get();
  startup.StartupInfo.hStdError = error.get();
  startup.lpAttributeList = handed.get();
  const std::wstring program = Wide(launch.program);
  std::wstring command_line = Wide(WindowsCommandLine(launch.program, launch.arguments));
  std::wstring environment = ChildEnvironment(launch);
  const std::wstring directory = Wide(launch.directory);
  PROCESS_INFORMATION started{};
  // Suspended until it is in its job: it runs nothing the job does not hold.
  // Without a console: its standard handles are files, and a console of its
  // own would cost every start a console host process.
  const auto create = [&] {
    return CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                          EXTENDED_STARTUPINFO_PRESENT | CREATE_UNICODE_ENVIRONMENT |
                              CREATE_SUSPENDED | DETACHED_PROCESS,
                          environment.data(), directory.empty() ? nullptr : directory.c_str(),
                          &startup.StartupInfo, &started) != FALSE;
  };
  // An internal error says nothing of the program: Wine's 64-bit loader has
  // been seen to fail a start so now and then, and the next start succeed.
  bool created = create();
  for (int retry = 0; !created && retry < kStartRetries && GetLastError() == ERROR_INTERNAL_ERROR;
       ++retry) {
    Sleep(kStartRetryPauseMs);
    created = create();
  }
  if (!created) return Cause(launch.program);
  const Handle thread(started.hThread);
  auto state = std::make_unique<State>();
  state->process = started.hProcess;
  if (AssignProcessToJobObject(job.get(), started.hProcess) == FALSE) {
    std::string cause = Cause("AssignProcessToJobObject");
    TerminateProcess(started.hProcess, 1);
    WaitForSingleObject(started.hProcess, kTerminationWaitMs);
    state->end = ChildEnd{ChildEnd::Kind::kStopped, 1};
    return cause;
  }
  state->job = job.release();
  ResumeThread(thread.get());
  return ChildProcess(std::move(state));
}

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}
ChildProcess::ChildProcess(ChildProcess&& other) noexcept = default;
ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept = default;
ChildProcess::~ChildProcess() = default;

void ChildProcess::Stop() {
  state_->Look();
  if (state_->end) return;
  state_->stopped = true;
  TerminateProcess(state_->process, 1);
  WaitForSingleObject(state_->process, kTerminationWaitMs);
  state_->Look();
  // Told as stopped even where the system has not let it go yet.
  if (!state_->end) state_->end = ChildEnd{ChildEnd::Kind::kStopped, 1};
}

std::optional<ChildEnd> ChildProcess::End() {
  state_->Look();
  return state_->end;
}

std::optional<std::size_t> WaitForAny(std::span<ChildProcess* const> children,
                                      std::chrono::steady_clock::time_point until) {
  for (;;) {
    std::vector<HANDLE> processes;
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (children[i]->End()) return i;
      if (processes.size() < MAXIMUM_WAIT_OBJECTS)
        processes.push_back(children[i]->state_->process);
    }
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    const DWORD wait_ms = static_cast<DWORD>(std::min<long long>(left.count(), 1000));
    if (processes.empty()) {
      Sleep(wait_ms);
    } else {
      WaitForMultipleObjects(static_cast<DWORD>(processes.size()), processes.data(), FALSE,
                             wait_ms);
    }
  }
}

}  // namespace platform
