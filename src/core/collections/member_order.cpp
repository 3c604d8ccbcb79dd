#include "collections/member_order.h"

#include <algorithm>
#include <utility>

namespace sonarchive::collections {
namespace {

// The two change places in the list and keep the order their positions say.
void Exchange(MemberPosition& a, MemberPosition& b) {
    std::swap(a.position, b.position);
    std::swap(a, b);
}

}  // namespace

bool MoveSelectedUp(std::vector<MemberPosition>& members) {
    if (members.empty() || members.front().selected) {
        return false;
    }
    bool moved = false;
    for (std::size_t i = 1; i < members.size(); ++i) {
        if (members[i].selected) {
            Exchange(members[i], members[i - 1]);
            moved = true;
        }
    }
    return moved;
}

bool MoveSelectedDown(std::vector<MemberPosition>& members) {
    if (members.empty() || members.back().selected) {
        return false;
    }
    bool moved = false;
    for (std::size_t i = members.size() - 1; i-- > 0;) {
        if (members[i].selected) {
            Exchange(members[i], members[i + 1]);
            moved = true;
        }
    }
    return moved;
}

void RandomizePositions(std::vector<MemberPosition>& members, std::mt19937& random) {
    // Draw one of the n members still in the pool and give it position n.
    std::vector<std::size_t> pool(members.size());
    for (std::size_t i = 0; i < pool.size(); ++i) {
        pool[i] = i;
    }
    while (!pool.empty()) {
        std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
        const std::size_t drawn = pick(random);
        members[pool[drawn]].position = static_cast<double>(pool.size());
        pool[drawn] = pool.back();
        pool.pop_back();
    }
    std::stable_sort(
        members.begin(), members.end(),
        [](const MemberPosition& a, const MemberPosition& b) { return a.position < b.position; });
}

}  // namespace sonarchive::collections
