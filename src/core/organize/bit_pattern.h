// Equal audio found by content: file i and a later file j are possible duplicates when j's
// signature holds i's key, the 12000 bytes that follow i's first 11999, anywhere.
//
// Only a full 12000-byte key that is not one byte repeated (silence) can head a group. Every
// file is listed once: a pair whose later file is listed already adds nothing, and a head that
// is listed already takes its new matches into its own group (three equal files make one
// group).
//
// The plain search compares every key with every later signature: n(n-1)/2 searches of a
// 12000-byte key in 30000 bytes, with every signature held. The fast search gives the same
// groups from two passes over the signatures, holding one at a time: the first hashes every
// key, the second rolls a hash of every 12000-byte window of each signature and looks it up
// among the keys, confirming each hit byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interaction/interaction.h"

namespace sonarchive::organize {

constexpr std::size_t kKeyOffset = 11999;
constexpr std::size_t kKeyLength = 12000;

// The key of a signature; nothing when it cannot head a group.
std::optional<std::string_view> KeyOf(std::string_view signature);

// Signatures by index, in the order of the reachable-file list.
class SignatureSource {
public:
    virtual ~SignatureSource() = default;
    virtual std::size_t Count() const = 0;
    virtual std::string Signature(std::size_t index) = 0;
};

struct BitPatternResult {
    std::vector<std::vector<std::size_t>> groups;  // indexes, in the order they were found
    std::uint64_t comparisons = 0;  // key searches made (every head with every later file)
    bool cancelled = false;
};

// The maximum of the comparing progress: the whole part of n/2 x n.
std::uint64_t ComparisonMaximum(std::size_t files);

// Lists the pairs (head, later file) in the order of the plain search.
std::vector<std::vector<std::size_t>> GroupsOfPairs(
    std::vector<std::pair<std::size_t, std::size_t>> pairs);

// "hh:nn:ss" of the time left after `done` of `maximum` comparisons in `elapsedSeconds`
// (hours wrap at 24); empty while nothing is done.
std::string EstimatedTimeLeft(double elapsedSeconds, std::uint64_t done, std::uint64_t maximum);

// What the searches report while they run.
struct BitPatternProgress {
    std::function<void(int mode)> mode;  // 2 collecting data, 1 comparing files
    std::function<void(std::size_t found)> found;
    std::function<void(const std::string& timeLeft)> timeLeft;
};

BitPatternResult PlainBitPatternSearch(SignatureSource& source);

// The same groups as the plain search. Progress and the cancel flag go through `interaction`;
// cancelling keeps the groups of the signatures compared so far.
BitPatternResult FastBitPatternSearch(SignatureSource& source, Interaction& interaction,
                                      const BitPatternProgress& progress);

}  // namespace sonarchive::organize
