// The frames in which a listing run's process for one system hands its
// texts and channels to the run that started it.
#include "output/relayed_output.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

namespace {

using output::ChannelLimits;
using output::ChannelRecord;
using output::RelayedPart;

// Texts and channels come back as they went, whatever bytes they hold:
// digits, colons and frame letters in names, line ends, limits or none.
TEST(RelayedOutput, PartsComeBackAsTheyWent) {
  const ChannelRecord plain{"PRD", "757760", "Pages", std::nullopt, false};
  const ChannelRecord odd{"T5:C3:x\n<&>", "", "", std::nullopt, true};
  const ChannelRecord limited{
      "Used Area", "81", "%",
      ChannelLimits{ChannelLimits::Direction::kUpper, 80, 90, "over 80 %", "over 90 %"}, false};
  const std::string relayed = output::TextFrame("\n* 10:00:00 PRD.P00, x\n") +
                              output::ChannelFrame(plain) + output::ChannelFrame(odd) +
                              output::TextFrame("T12:") + output::ChannelFrame(limited);
  for (const bool whole : {true, false}) {
    const std::vector<RelayedPart> parts = output::RelayedParts(relayed, whole);
    ASSERT_EQ(parts.size(), 5u);
    EXPECT_EQ(std::get<std::string>(parts[0]), "\n* 10:00:00 PRD.P00, x\n");
    for (const auto& [at, expected] :
         std::vector<std::pair<std::size_t, ChannelRecord>>{{1, plain}, {2, odd}, {4, limited}}) {
      const auto& channel = std::get<ChannelRecord>(parts[at]);
      EXPECT_EQ(channel.name, expected.name);
      EXPECT_EQ(channel.value, expected.value);
      EXPECT_EQ(channel.unit, expected.unit);
      EXPECT_EQ(channel.warning, expected.warning);
      ASSERT_EQ(channel.limits.has_value(), expected.limits.has_value());
      if (channel.limits) {
        EXPECT_EQ(channel.limits->warning, 80);
        EXPECT_EQ(channel.limits->error, 90);
        EXPECT_EQ(channel.limits->warning_message, "over 80 %");
        EXPECT_EQ(channel.limits->error_message, "over 90 %");
      }
    }
    EXPECT_EQ(std::get<std::string>(parts[3]), "T12:");
  }
}

// A process cut off in the middle of a frame leaves the frames before it;
// one that wrote before it knew its part leaves its text as it is.
TEST(RelayedOutput, WhatFollowsTheFrames) {
  const std::string frames = output::TextFrame("channel\n");
  const std::string cut = frames + "T40:partly written";
  EXPECT_EQ(output::RelayedParts(cut, false).size(), 1u);
  const std::vector<RelayedPart> kept = output::RelayedParts(cut, true);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(std::get<std::string>(kept[1]), "T40:partly written");
  const std::vector<RelayedPart> unframed =
      output::RelayedParts("<Prtg>\n<Error>1</Error>\n</Prtg>\n", true);
  ASSERT_EQ(unframed.size(), 1u);
  EXPECT_EQ(std::get<std::string>(unframed[0]), "<Prtg>\n<Error>1</Error>\n</Prtg>\n");
}

}  // namespace
