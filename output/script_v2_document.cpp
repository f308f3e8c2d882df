#include "output/script_v2_document.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <set>

#include "output/texts.h"

namespace output {
namespace {

constexpr long kFirstId = 10;
constexpr long kLastId = 2147483647;
// PRTG shows at most this many characters of the message, and takes at
// most this many channels from one sensor.
constexpr std::size_t kMessageLimit = 2000;
constexpr std::size_t kChannelLimit = 50;

std::uint32_t Fnv1a(std::string_view text) {
  std::uint32_t hash = 2166136261U;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619U;
  }
  return hash;
}

long NextId(long id) { return id == kLastId ? kFirstId : id + 1; }

// The text as JSON string content: bytes from 0x80 on read as ISO 8859-1
// (the SAP systems' and Windows files' single bytes) and written as UTF-8,
// at most `limit` characters, cut between characters.
std::string JsonString(std::string_view text, std::size_t limit) {
  std::string out = "\"";
  std::size_t characters = 0;
  for (const char c : text) {
    if (characters++ == limit) break;
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (byte < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out.append("\\u00").push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    } else if (byte >= 0x80) {
      out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    } else {
      out.push_back(c);
    }
  }
  return out + "\"";
}

std::string_view StatusWord(MonitorState state) {
  switch (state) {
    case MonitorState::kOk:
      return "ok";
    case MonitorState::kWarning:
      return "warning";
    case MonitorState::kCritical:
    case MonitorState::kUnknown:
      break;
  }
  return "error";
}

std::string Channel(const RecordedChannel& channel, long id, bool percent) {
  std::int64_t value = 0;
  const char* end = channel.value.data() + channel.value.size();
  const bool whole = std::from_chars(channel.value.data(), end, value).ptr == end;
  std::string text = "{\"id\":" + std::to_string(id) +
                     ",\"name\":" + JsonString(channel.name, channel.name.size()) +
                     ",\"type\":\"integer\"";
  if (percent || channel.unit == "PerCent") {
    text += ",\"kind\":\"percent\"";
  } else {
    text +=
        ",\"kind\":\"custom\",\"display_unit\":" + JsonString(channel.unit, channel.unit.size());
  }
  return text + ",\"value\":" + std::to_string(whole ? value : 0) + "}";
}

}  // namespace

std::vector<long> ChannelIds(const std::vector<std::string>& names,
                             const std::vector<std::string>& fixed) {
  std::vector<long> ids(names.size(), 0);
  std::set<long> taken;
  std::vector<std::size_t> hashed;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const auto place = std::find(fixed.begin(), fixed.end(), names[i]);
    if (place == fixed.end()) {
      hashed.push_back(i);
      continue;
    }
    ids[i] = kFirstId + static_cast<long>(place - fixed.begin());
    taken.insert(ids[i]);
  }
  std::stable_sort(hashed.begin(), hashed.end(),
                   [&](std::size_t a, std::size_t b) { return names[a] < names[b]; });
  constexpr std::uint32_t kRange = kLastId - kFirstId + 1;
  for (const std::size_t i : hashed) {
    long id = kFirstId + static_cast<long>(Fnv1a(names[i]) % kRange);
    while (taken.contains(id)) id = NextId(id);
    ids[i] = id;
    taken.insert(id);
  }
  return ids;
}

std::string ScriptV2Document(const DocumentRecord& record) {
  std::string document = "{\"version\":2,\"status\":\"";
  document.append(StatusWord(StateOfRecord(record))).append("\",\"message\":");
  document.append(JsonString(SummaryOfRecord(record), kMessageLimit));
  if (!record.error && !record.channels.empty()) {
    const std::size_t count = std::min(record.channels.size(), kChannelLimit);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < count; ++i) names.push_back(record.channels[i].name);
    // A listing's systems take their ids from their names, whatever they are called.
    const std::vector<long> ids =
        ChannelIds(names, record.listing ? std::vector<std::string>{} : record.fixed_ids);
    const bool percent = record.listing && record.listing->percent;
    document.append(",\"channels\":[");
    for (std::size_t i = 0; i < count; ++i) {
      if (i > 0) document.append(",");
      document.append(Channel(record.channels[i], ids[i], percent));
    }
    document.append("]");
  }
  return document + "}\n";
}

}  // namespace output
