#include "measure/history_bound.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>

namespace measure {
namespace {

// More rounds than any count of samples needs: after them none is left.
constexpr int kRounds = std::numeric_limits<std::size_t>::digits;

// A sample is kept through `rounds` rounds of thinning where its place,
// counted from 1, is a multiple of 2^rounds.
constexpr bool KeptThrough(std::size_t place, int rounds) {
  return rounds < kRounds && std::countr_zero(place) >= rounds;
}

// The length that stays of the samples `in_span` (or not) after each count
// of rounds, with each sample's place given by `place_of`.
template <class PlaceOf>
std::array<std::size_t, kRounds + 1> LengthsAfterRounds(std::span<const SampleLine> samples,
                                                        bool in_span, PlaceOf place_of) {
  std::array<std::size_t, kRounds + 1> lengths{};
  std::size_t index = 0;
  for (const SampleLine& sample : samples) {
    if (sample.in_span != in_span) continue;
    const int survives = std::countr_zero(place_of(index++));
    for (int round = 0; round <= std::min(survives, kRounds - 1); ++round) {
      lengths[round] += sample.length;
    }
  }
  return lengths;
}

}  // namespace

std::vector<bool> KeptWithinBound(std::span<const SampleLine> samples, std::size_t poll_length,
                                  std::size_t bound) {
  // The common case, every history the sensor writes below its bound.
  std::size_t length = poll_length;
  for (const SampleLine& sample : samples) length += sample.length;
  if (length <= bound) return std::vector<bool>(samples.size(), true);

  const std::size_t in_span = static_cast<std::size_t>(
      std::count_if(samples.begin(), samples.end(), [](const SampleLine& s) { return s.in_span; }));
  // Places outside the span count from the oldest, 1 first; places in the
  // span count back from the poll, whose own place is 0 and stays.
  const auto outside_place = [](std::size_t index) { return index + 1; };
  const auto span_place = [&](std::size_t index) { return in_span - index; };
  const auto outside = LengthsAfterRounds(samples, false, outside_place);
  const auto span = LengthsAfterRounds(samples, true, span_place);

  int outside_rounds = 0;
  while (outside_rounds < kRounds && poll_length + span[0] + outside[outside_rounds] > bound) {
    ++outside_rounds;
  }
  int span_rounds = 0;
  if (outside_rounds == kRounds) {
    while (span_rounds < kRounds && poll_length + span[span_rounds] > bound) ++span_rounds;
  }

  std::vector<bool> kept(samples.size());
  std::size_t outside_index = 0;
  std::size_t span_index = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    kept[i] = samples[i].in_span ? KeptThrough(span_place(span_index++), span_rounds)
                                 : KeptThrough(outside_place(outside_index++), outside_rounds);
  }
  return kept;
}

}  // namespace measure
