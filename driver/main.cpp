#include <cstdio>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "driver/program_library.h"
#include "output/stdout_sink.h"

int main(int argc, char** argv) {
  output::StreamSink out(stdout);
  output::StreamSink err(stderr);
  driver::RunServices services{driver::ProgramLibrary(), out, err};
  int code = driver::RunSensor(std::vector<std::string>(argv, argv + argc), services);
  out.Flush();
  err.Flush();
  return code;
}
