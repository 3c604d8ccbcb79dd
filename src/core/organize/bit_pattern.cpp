#include "organize/bit_pattern.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace sonarchive::organize {
namespace {

// Polynomial hashing modulo the Mersenne prime 2^61 - 1: no crafted input makes many windows
// collide the way hashing modulo 2^64 can be made to.
constexpr std::uint64_t kModulus = (std::uint64_t{1} << 61) - 1;
constexpr std::uint64_t kBase = 0x1F35A7BD3C2E8D1ull % kModulus;

__extension__ typedef unsigned __int128 Wide;

std::uint64_t MultiplyMod(std::uint64_t a, std::uint64_t b) {
    const Wide product = static_cast<Wide>(a) * b;
    const std::uint64_t low = static_cast<std::uint64_t>(product & kModulus);
    const std::uint64_t high = static_cast<std::uint64_t>(product >> 61);
    const std::uint64_t sum = low + high;
    return sum >= kModulus ? sum - kModulus : sum;
}

std::uint64_t AddMod(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t sum = a + b;
    return sum >= kModulus ? sum - kModulus : sum;
}

std::uint64_t HashOf(std::string_view bytes) {
    std::uint64_t hash = 0;
    for (const char c : bytes) {
        hash = AddMod(MultiplyMod(hash, kBase), static_cast<unsigned char>(c) + 1u);
    }
    return hash;
}

std::uint64_t PowerMod(std::uint64_t base, std::size_t exponent) {
    std::uint64_t result = 1;
    while (exponent > 0) {
        if ((exponent & 1) != 0) {
            result = MultiplyMod(result, base);
        }
        base = MultiplyMod(base, base);
        exponent >>= 1;
    }
    return result;
}

// A quick filter in front of the key table: most windows match no key.
class HashFilter {
public:
    void Add(std::uint64_t hash) {
        bits_[Slot(hash) / 64] |= std::uint64_t{1} << (Slot(hash) % 64);
    }
    bool MayHold(std::uint64_t hash) const {
        return (bits_[Slot(hash) / 64] >> (Slot(hash) % 64) & 1) != 0;
    }

private:
    static constexpr int kBits = 22;
    static std::size_t Slot(std::uint64_t hash) {
        return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> (64 - kBits));
    }
    std::vector<std::uint64_t> bits_ = std::vector<std::uint64_t>((std::size_t{1} << kBits) / 64);
};

// Keys read again for confirming hits, kept while they fit.
class KeyCache {
public:
    explicit KeyCache(SignatureSource& source) : source_(source) {}

    const std::string& Key(std::size_t index) {
        auto found = keys_.find(index);
        if (found != keys_.end()) {
            return found->second;
        }
        if (bytes_ > kMaxBytes) {
            keys_.clear();
            bytes_ = 0;
        }
        const std::string signature = source_.Signature(index);
        const auto key = KeyOf(signature);
        std::string& kept = keys_[index];
        kept = key ? std::string(*key) : std::string();
        bytes_ += kept.size();
        return kept;
    }

private:
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;
    SignatureSource& source_;
    std::unordered_map<std::size_t, std::string> keys_;
    std::size_t bytes_ = 0;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Comparisons made once every head before `later` met it: each head with each later file.
class ComparisonCount {
public:
    void HeadSeen() { ++heads_; }
    void LaterFileDone() { total_ += heads_; }
    std::uint64_t Total() const { return total_; }

private:
    std::uint64_t heads_ = 0;
    std::uint64_t total_ = 0;
};

}  // namespace

std::optional<std::string_view> KeyOf(std::string_view signature) {
    if (signature.size() < kKeyOffset + kKeyLength) {
        return std::nullopt;
    }
    const std::string_view key = signature.substr(kKeyOffset, kKeyLength);
    if (key.find_first_not_of(key[0]) == std::string_view::npos) {
        return std::nullopt;
    }
    return key;
}

std::uint64_t ComparisonMaximum(std::size_t files) {
    return static_cast<std::uint64_t>(files / 2.0 * static_cast<double>(files));
}

std::vector<std::vector<std::size_t>> GroupsOfPairs(
    std::vector<std::pair<std::size_t, std::size_t>> pairs) {
    std::sort(pairs.begin(), pairs.end());
    std::unordered_map<std::size_t, std::size_t> groupOf;
    std::vector<std::vector<std::size_t>> groups;
    for (const auto& [head, later] : pairs) {
        if (groupOf.count(later) != 0) {
            continue;
        }
        auto headGroup = groupOf.find(head);
        if (headGroup == groupOf.end()) {
            headGroup = groupOf.emplace(head, groups.size()).first;
            groups.push_back({head});
        }
        groupOf.emplace(later, headGroup->second);
        groups[headGroup->second].push_back(later);
    }
    return groups;
}

std::string EstimatedTimeLeft(double elapsedSeconds, std::uint64_t done, std::uint64_t maximum) {
    if (done == 0) {
        return {};
    }
    const double left = elapsedSeconds / static_cast<double>(done) *
                        static_cast<double>(maximum > done ? maximum - done : 0);
    const auto seconds = static_cast<std::uint64_t>(left);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(seconds / 3600 % 24),
                  static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
    return text;
}

BitPatternResult PlainBitPatternSearch(SignatureSource& source) {
    std::vector<std::string> signatures;
    for (std::size_t i = 0; i < source.Count(); ++i) {
        signatures.push_back(source.Signature(i));
    }
    BitPatternResult result;
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0; i < signatures.size(); ++i) {
        const auto key = KeyOf(signatures[i]);
        if (!key) {
            continue;
        }
        for (std::size_t j = i + 1; j < signatures.size(); ++j) {
            ++result.comparisons;
            if (signatures[j].find(*key) != std::string::npos) {
                pairs.emplace_back(i, j);
            }
        }
    }
    result.groups = GroupsOfPairs(std::move(pairs));
    return result;
}

BitPatternResult FastBitPatternSearch(SignatureSource& source, Interaction& interaction,
                                      const BitPatternProgress& progress) {
    const std::size_t count = source.Count();
    BitPatternResult result;
    const auto report = [](const auto& callback, const auto& value) {
        if (callback) {
            callback(value);
        }
    };

    // Collecting: the hash of every key.
    report(progress.mode, 2);
    interaction.SetProgressMaximum(static_cast<int>(count));
    std::vector<std::optional<std::uint64_t>> keyHashes(count);
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> heads;
    HashFilter filter;
    for (std::size_t i = 0; i < count; ++i) {
        if (interaction.CancelRequested()) {
            result.cancelled = true;
            return result;
        }
        const std::string signature = source.Signature(i);
        if (const auto key = KeyOf(signature)) {
            keyHashes[i] = HashOf(*key);
            heads[*keyHashes[i]].push_back(i);
            filter.Add(*keyHashes[i]);
        }
        interaction.SetProgressPosition(static_cast<int>(i + 1));
        interaction.ProcessPendingEvents();
    }

    // Comparing: every window of every signature against the keys of the files before it.
    report(progress.mode, 1);
    const std::uint64_t maximum = ComparisonMaximum(count);
    interaction.SetProgressMaximum(static_cast<int>(std::min<std::uint64_t>(maximum, INT32_MAX)));
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t leadingPower = PowerMod(kBase, kKeyLength - 1);
    KeyCache keys(source);
    ComparisonCount comparisons;
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    std::unordered_set<std::size_t> involved;
    for (std::size_t j = 0; j < count; ++j) {
        if (interaction.CancelRequested()) {
            result.cancelled = true;
            break;
        }
        comparisons.LaterFileDone();
        // A file with no key before it is compared with nothing.
        const bool anyHeadBefore = comparisons.Total() > 0 && !heads.empty();
        const std::string text = anyHeadBefore ? source.Signature(j) : std::string();
        std::unordered_set<std::size_t> matched;
        if (text.size() >= kKeyLength) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
            std::uint64_t hash = HashOf(std::string_view(text.data(), kKeyLength));
            for (std::size_t p = 0;; ++p) {
                if (filter.MayHold(hash)) {
                    if (const auto found = heads.find(hash); found != heads.end()) {
                        for (const std::size_t head : found->second) {
                            if (head >= j || matched.count(head) != 0) {
                                continue;
                            }
                            const std::string& key = keys.Key(head);
                            if (key.size() == kKeyLength &&
                                std::memcmp(key.data(), bytes + p, kKeyLength) == 0) {
                                matched.insert(head);
                                pairs.emplace_back(head, j);
                                involved.insert(head);
                                involved.insert(j);
                            }
                        }
                    }
                }
                if (p + kKeyLength >= text.size()) {
                    break;
                }
                const std::uint64_t outgoing = MultiplyMod(bytes[p] + 1u, leadingPower);
                hash = AddMod(MultiplyMod(AddMod(hash, kModulus - outgoing), kBase),
                              bytes[p + kKeyLength] + 1u);
            }
        }
        if (keyHashes[j]) {
            comparisons.HeadSeen();
        }
        report(progress.found, involved.size());
        interaction.SetProgressPosition(
            static_cast<int>(std::min<std::uint64_t>(comparisons.Total(), INT32_MAX)));
        report(progress.timeLeft,
               EstimatedTimeLeft(SecondsSince(start), comparisons.Total(), maximum));
        interaction.ProcessPendingEvents();
    }
    result.comparisons = comparisons.Total();
    result.groups = GroupsOfPairs(std::move(pairs));
    return result;
}

}  // namespace sonarchive::organize
