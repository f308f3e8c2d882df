#include <cstdio>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "driver/program_library.h"
#include "output/guarded_output.h"
#include "output/stdout_sink.h"

int main(int argc, char** argv) {
  output::StreamSink stdout_sink(stdout);
  output::GuardedOutput out(stdout_sink);
  output::StreamSink err(stderr);
  driver::RunServices services{driver::ProgramLibrary(), out, err, &out};
#if defined(BRACKWATER_LINUX_PROGRAM)
  services.linux_names = true;
#endif
  int code = driver::RunSensor(std::vector<std::string>(argv, argv + argc), services);
  out.Flush();
  err.Flush();
  return code;
}
