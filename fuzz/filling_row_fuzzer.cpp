// DEVSTAT rows of ADA_DB_FILLING as the library hands them out, the packed
// size text they are read through, and the report a row makes.
//
// Input: a control character for the output flavour (0 EXEXML, 1 Halvaric,
// 2 Pellmar with "CH=3", 3 Pellmar, 4 an unknown keyword; mod 5), the row's
// 144 bytes (missing bytes read as 0), then a line with the listing's item
// name, a line with the destination, and the rest: a packed size text.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/run_options.h"
#include "fuzz/support/check.h"
#include "fuzz/support/fuzz_input.h"
#include "measure/filling_channels.h"
#include "measure/filling_report.h"
#include "output/output_sink.h"
#include "output/result_document.h"
#include "rfc/filling_row.h"

namespace {

constexpr const char* kFlavours[] = {"EXEXML", "Halvaric", "Pellmar", "Pellmar", "Nagios"};
constexpr const char* kOptions[] = {"", "", "CH=3", "", ""};

// A size text's value as strtol would read it, with 128 bits instead of 32:
// enough for texts of up to 30 significant digits.
struct Reading {
  bool negative = false;
  std::string digits;  // without leading zeros
};

Reading Read(std::string_view text) {
  Reading reading;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) reading.negative = text[i++] == '-';
  while (i < text.size() && text[i] == '0') ++i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') reading.digits.push_back(text[i++]);
  return reading;
}

std::string Decimal(unsigned __int128 value) {
  std::string text;
  do {
    text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
    value /= 10;
  } while (value != 0);
  return text;
}

// The contract of SizeFromPackedText, computed the long way.
rfc::FillingSize ExpectedSize(std::string_view text) {
  const Reading reading = Read(text);
  unsigned __int128 magnitude = 0;
  for (char c : reading.digits) magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
  const unsigned __int128 limit = reading.negative ? 0x80000000u : 0x7FFFFFFFu;
  if (magnitude <= limit) {
    const auto low = static_cast<std::uint32_t>(magnitude);
    const std::uint32_t reported = reading.negative ? 0u - low : low;
    return {std::to_string(reported), std::to_string(reported / 1000)};
  }
  const std::string sign = reading.negative ? "-" : "";
  return {sign + Decimal(magnitude), sign + Decimal(magnitude / 1000)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const unsigned flavour = input.TakeControl() % 5;
  std::array<unsigned char, rfc::kFillingRowLength> bytes{};
  const std::string_view row_part = input.rest().substr(0, bytes.size());
  std::copy(row_part.begin(), row_part.end(), bytes.begin());
  fuzz::FuzzInput text(input.rest().substr(row_part.size()));

  const rfc::FillingRow row = rfc::DecodeFillingRow(bytes);
  for (const rfc::FillingSize* decoded :
       {&row.total, &row.used, &row.perm_used, &row.temp_used, &row.free}) {
    fuzz::Require(!decoded->raw.empty() && !decoded->megabytes.empty(),
                  "a decoded size has its raw and megabyte texts");
  }

  output::ResultDocument document(
      kFlavours[flavour],
      std::get<config::RunOptions>(config::ParseRunOptions(kOptions[flavour])).channel);
  const std::string item(text.TakeLine());
  const std::string destination(text.TakeLine());
  output::StringSink out;
  measure::ReportFillingRow(document, out, destination, row, std::nullopt);
  measure::ReportFillingItem(document, out, item, "PRD", row, std::nullopt);
  fuzz::Require(document.text().empty(), "a listing's item leaves nothing in the document");

  const std::string_view size_text = text.rest();
  if (Read(size_text).digits.size() <= 30) {
    fuzz::Require(rfc::SizeFromPackedText(size_text) == ExpectedSize(size_text),
                  "a size text reads as its number: 32-bit unsigned form inside the signed "
                  "range, exact outside");
  } else {
    rfc::SizeFromPackedText(size_text);
  }
  return 0;
}
