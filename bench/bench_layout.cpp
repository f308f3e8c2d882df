#include "bench/bench_layout.h"

#include <fstream>
#include <stdexcept>
#include <variant>

#include "config/password_scramble.h"

namespace {
constexpr const char* kPassword = "Secret99";
}

std::string SystemName(int i) { return "S" + std::to_string(10000 + i).substr(1); }
std::string HostName(int i) { return "host" + std::to_string(i); }

std::string BenchProfile(const std::string& name, const std::string& host) {
  int offset = config::PrintableOffsets(kPassword).at(0);
  auto scrambled = config::ScramblePassword(kPassword, offset, 1);
  if (!std::holds_alternative<std::string>(scrambled)) {
    throw std::runtime_error("the bench password does not scramble");
  }
  return "Extcompany.: Bench Ltd\n"
         "Destination: " +
         name +
         "\n"
         "Client.....: 100\n"
         "User.......: MONITOR\n"
         "Password...: " +
         std::get<std::string>(scrambled) +
         "\n"
         "Language...: E\n"
         "Mode.......: R/3\n"
         "Hostname...: " +
         host +
         "\n"
         "Sysnr......: 00\n"
         "Gwhost.....: " +
         host +
         "\n"
         "Gwservice..: sapgw00\n";
}

std::string BenchLandscape(int count, int latency_ms) {
  std::string json = "{\"systems\": [\n";
  for (int i = 0; i < count; ++i) {
    json += std::string(i ? ",\n" : "") + "{\"name\": \"" + SystemName(i) + "\", \"ashost\": \"" +
            HostName(i) + "\", \"sysnr\": 0, \"latency_ms\": " + std::to_string(latency_ms) +
            ", \"accounts\": [{\"client\": \"100\", \"user\": \"MONITOR\", "
            "\"password\": \"" +
            kPassword + "\"}]}";
  }
  return json + "\n]}\n";
}

std::string BenchListing(int count) {
  const std::string group = "# GSNG: BENCH       ";
  std::string listing;
  std::string line = group;
  for (int i = 0; i < count; ++i) {
    std::string entry = SystemName(i) + ".P00#";
    // Lines of the listing are read up to 199 characters.
    if (line.size() + entry.size() > 190) {
      listing += line + "\n";
      line = group;
    }
    line += entry;
  }
  listing += line + "\n";
  listing += "# GSNX: BENCH      Item=Used:Area,Profile,Sensor=\"SAP Brackwater\"\n";
  return listing;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  if (!file) throw std::runtime_error("cannot write " + path.string());
}
