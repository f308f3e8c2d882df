// The baseline of the process benchmarks: a program that starts, prints one
// line and ends, built by the same toolchain and flags as the sensor.
#include <cstdio>

int main() {
  std::puts("hello world");
  return 0;
}
