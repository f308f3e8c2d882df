// Standard output of a process that measures one system of a listing run
// for the run that started it: the text it writes and the channels it
// reports, in frames, so that the starting run writes the channels with its
// own document (whose channel count runs across all systems: the Halvaric
// cut, Pellmar's "CH=") and the text as it is.
//
// A frame is a letter, the length of its content in decimal, ":" and the
// content: "T" text; "C" a channel, its content the fields name, value,
// unit, warning ("0" or "1") and, with limits, direction ("U" or "L"),
// warning and error levels and messages, each a length, ":" and the field.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "output/output_sink.h"
#include "output/result_document.h"

namespace output {

struct ChannelRecord {
  std::string name;
  std::string value;
  std::string unit;
  std::optional<ChannelLimits> limits;
  bool warning = false;
};

// What a relayed output holds, in order: texts and channels.
using RelayedPart = std::variant<std::string, ChannelRecord>;

std::string TextFrame(std::string_view text);
std::string ChannelFrame(const ChannelRecord& channel);

// The parts of `relayed`. Where the frames end before the text does, the
// rest is one text when `whole` (a process that ended by itself and wrote
// without frames before it knew its part), and dropped otherwise (a
// process cut off in the middle of a frame).
std::vector<RelayedPart> RelayedParts(std::string_view relayed, bool whole);

// Writes its text as text frames to `out`.
class RelayingSink final : public OutputSink {
 public:
  explicit RelayingSink(OutputSink& out) : out_(out) {}
  void Write(std::string_view bytes) override {
    if (!bytes.empty()) out_.Write(TextFrame(bytes));
  }
  void Flush() override { out_.Flush(); }

 private:
  OutputSink& out_;
};

}  // namespace output
