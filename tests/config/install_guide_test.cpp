// The install guide's example lines, read as the sensor reads them: an
// administrator copies them, so they must do what the guide says they do.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "config/global_listing.h"

namespace {

std::string Guide() {
  std::ifstream file(BRACKWATER_SOURCE_DIR "/docs/install-guide.md", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The examples of the guide's section under `heading`, up to the next
// heading: each a block of lines indented by four blanks, which the file
// does not hold.
std::vector<std::vector<std::string>> Examples(const std::string& guide, std::string_view heading) {
  std::vector<std::vector<std::string>> examples;
  const std::size_t start = guide.find("\n" + std::string(heading) + "\n");
  if (start == std::string::npos) return examples;
  std::istringstream section(guide.substr(start + 1));
  std::string line;
  std::getline(section, line);  // the heading
  bool in_example = false;
  while (std::getline(section, line) && !line.starts_with("#")) {
    const bool example_line = line.starts_with("    ");
    if (example_line && !in_example) examples.emplace_back();
    if (example_line) examples.back().push_back(line.substr(4));
    in_example = example_line;
  }
  return examples;
}

TEST(InstallGuide, ListingExamplesReadAsTheGuideSays) {
  const std::string guide = Guide();
  ASSERT_FALSE(guide.empty());

  const auto global = Examples(guide, "### The global sensor listing: SAP Tessaron.Gbl");
  ASSERT_EQ(global.size(), 2u) << "the example, and the same lines under a ruler";
  for (const std::vector<std::string>& example : global) {
    const config::Checked<config::ListingPlan> demo =
        config::ReadGlobalListing(example, "DEMO", "DEMO");
    ASSERT_TRUE(std::holds_alternative<config::ListingPlan>(demo)) << example[0];
    const auto& plan = std::get<config::ListingPlan>(demo);
    EXPECT_EQ(plan.systems, (std::vector<std::string>{"PRD.P00", "QAS.P00"})) << example[0];
    EXPECT_EQ(plan.item, "Used Area") << example[0];
    EXPECT_EQ(plan.naming, config::NamingKind::kSid) << example[0];
  }

  const auto item = Examples(guide, "### The item listing: Tessaron.Prf");
  ASSERT_EQ(item.size(), 1u);
  const config::Checked<config::ListingPlan> items = config::ReadItemListing(item[0], "Used Area");
  ASSERT_TRUE(std::holds_alternative<config::ListingPlan>(items));
  EXPECT_EQ(std::get<config::ListingPlan>(items).systems,
            (std::vector<std::string>{"PRD.P00", "QAS.P00", "DEV.P00"}));
}

}  // namespace
