#include <cstdio>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "output/stdout_sink.h"

int main(int argc, char** argv) {
  StreamSink out(stdout);
  StreamSink err(stderr);
  RunServices services{rfc::ProgramLibrary(), out, err};
  int code = RunSensor(std::vector<std::string>(argv, argv + argc), services);
  out.Flush();
  err.Flush();
  return code;
}
