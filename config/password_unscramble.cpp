// The sensor's side of the password: from the 24 characters in the profile
// file back to the plain text.
#include <algorithm>

#include "config/password_scramble.h"
#include "config/profile_key.h"

namespace config {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The decimal number that the `count` characters of `text` from `first`
// begin with; it stops at the first non-digit and at the end of `text`.
std::size_t LeadingNumber(std::string_view text, std::size_t first, std::size_t count) {
  std::size_t number = 0;
  for (std::size_t i = first; i < first + count && i < text.size() && IsDigit(text[i]); ++i) {
    number = number * 10 + static_cast<std::size_t>(text[i] - '0');
  }
  return number;
}

}  // namespace

char CheckDigit(std::string_view unscrambled) {
  unsigned sum = 0;
  for (char c : unscrambled) {
    if (IsDigit(c) || IsLetter(c)) {
      sum += static_cast<unsigned char>(c);
    }
  }
  return static_cast<char>('0' + sum % 10);
}

UnscrambledPassword UnscramblePassword(std::string_view value) {
  std::string header;
  for (std::size_t i = 0; i < kHeaderLength && i < value.size(); ++i) {
    header.push_back(XorWithKey(value[i], i));
  }
  UnscrambledPassword result;
  result.well_formed =
      value.size() == kScrambledLength && std::all_of(header.begin(), header.end(), IsDigit);

  const std::size_t offset = LeadingNumber(header, 1, 1);
  const std::size_t length = LeadingNumber(header, 2, 2);
  const std::string_view body =
      value.size() > kHeaderLength ? value.substr(kHeaderLength, kBodyLength) : std::string_view();

  // The pairs come from both ends of the body: B0 B19 B1 B18 ... B9 B10.
  std::string plain;
  for (std::size_t i = 0; i < kBodyLength / 2; ++i) {
    for (std::size_t position : {i, kBodyLength - 1 - i}) {
      if (position < body.size()) {
        const char c = XorWithKey(body[position], offset + position);
        if (c != '\0') {
          plain.push_back(c);
        }
      }
    }
  }

  // The check text is the check digit followed by header digits 1 to 3, so
  // it equals the header exactly when the first header digit matches.
  if (!header.empty() && header.front() == CheckDigit(plain)) {
    result.password = plain.substr(0, length);
  }
  return result;
}

}  // namespace config
