// The order of a collection that keeps positions: moving selected members up and down as a
// block, and shuffling. The members are in list order (ascending position) before and after.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace sonarchive::collections {

struct MemberPosition {
    std::int64_t memberId = 0;  // SubCollD.id
    double position = 0;        // dPosition
    bool selected = false;
};

// Each selected member changes places (and positions) with the one above it, from the second
// member down, so a block of selected members moves up by one. Nothing moves when the first
// member is selected. True when something moved.
bool MoveSelectedUp(std::vector<MemberPosition>& members);

// The same downwards, from the second last member up; nothing moves when the last member is
// selected.
bool MoveSelectedDown(std::vector<MemberPosition>& members);

// Gives the members the positions 1 to n in a random arrangement and sorts them by it.
void RandomizePositions(std::vector<MemberPosition>& members, std::mt19937& random);

}  // namespace sonarchive::collections
