#include "collections/member_order.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "collection_fixture.h"
#include "collections/collections.h"

namespace sonarchive::collections {
namespace {

std::vector<MemberPosition> FiveMembers(std::initializer_list<int> selected) {
    std::vector<MemberPosition> members;
    for (int i = 1; i <= 5; ++i) {
        members.push_back({i, static_cast<double>(i),
                           std::find(selected.begin(), selected.end(), i) != selected.end()});
    }
    return members;
}

std::vector<std::int64_t> Ids(const std::vector<MemberPosition>& members) {
    std::vector<std::int64_t> ids;
    for (const auto& m : members) {
        ids.push_back(m.memberId);
    }
    return ids;
}

std::vector<double> PositionsOf(const std::vector<MemberPosition>& members) {
    std::vector<double> positions;
    for (const auto& m : members) {
        positions.push_back(m.position);
    }
    return positions;
}

TEST(MemberOrder, ABlockMovesUpAndDownAsAWhole) {
    auto members = FiveMembers({2, 3});
    EXPECT_TRUE(MoveSelectedUp(members));
    EXPECT_EQ(Ids(members), (std::vector<std::int64_t>{2, 3, 1, 4, 5}));
    EXPECT_EQ(PositionsOf(members), (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(MoveSelectedUp(members));  // the block stands at the top now
    EXPECT_EQ(Ids(members), (std::vector<std::int64_t>{2, 3, 1, 4, 5}));

    members = FiveMembers({3, 4});
    EXPECT_TRUE(MoveSelectedDown(members));
    EXPECT_EQ(Ids(members), (std::vector<std::int64_t>{1, 2, 5, 3, 4}));
    EXPECT_FALSE(MoveSelectedDown(members));

    members = FiveMembers({2, 4});  // two separate rows each move one place
    EXPECT_TRUE(MoveSelectedUp(members));
    EXPECT_EQ(Ids(members), (std::vector<std::int64_t>{2, 1, 4, 3, 5}));

    members = FiveMembers({});
    EXPECT_FALSE(MoveSelectedUp(members));
    std::vector<MemberPosition> none;
    EXPECT_FALSE(MoveSelectedDown(none));
}

TEST(MemberOrder, RandomizingGivesEachPositionFromOneToNOnce) {
    std::mt19937 random(7);
    bool orderChanged = false;
    for (int round = 0; round < 20; ++round) {
        std::vector<MemberPosition> members = {{10, 2.5}, {11, 7}, {12, 8}, {13, 20}};
        RandomizePositions(members, random);
        EXPECT_EQ(PositionsOf(members), (std::vector<double>{1, 2, 3, 4}));
        std::vector<std::int64_t> ids = Ids(members);
        orderChanged = orderChanged || ids != std::vector<std::int64_t>{10, 11, 12, 13};
        std::sort(ids.begin(), ids.end());
        EXPECT_EQ(ids, (std::vector<std::int64_t>{10, 11, 12, 13}));
    }
    EXPECT_TRUE(orderChanged);
}

class SavePositionsTest : public testing::CollectionFixture {};

TEST_F(SavePositionsTest, EveryPositionIsWrittenInOneTransaction) {
    const std::int64_t id = CreateCollection(catalog, "Ordered", false);
    AddCollectionMembers(catalog.Engine(), id, {AddFile("/a.mp3"), AddFile("/b.mp3")});
    std::vector<MemberPosition> members;
    {
        catalog::Query query(catalog.Engine(), catalog::CollectionMembersSelect(id));
        for (; !query.AtEnd(); query.Next()) {
            members.push_back({query["Id_1"].AsInteger(), query["dPosition"].AsDouble(), true});
        }
    }
    members[1].selected = false;
    ASSERT_FALSE(MoveSelectedUp(members));
    members[0].selected = false;
    members[1].selected = true;
    ASSERT_TRUE(MoveSelectedUp(members));
    statements.clear();
    SaveMemberPositions(catalog.Engine(), members);
    EXPECT_EQ(TakeStatements("update"),
              (std::vector<std::string>{"update SubCollD set dposition=1.000000 where id =" +
                                            std::to_string(members[0].memberId),
                                        "update SubCollD set dposition=2.000000 where id =" +
                                            std::to_string(members[1].memberId)}));
    catalog::Query first(catalog.Engine(), catalog::CollectionMembersSelect(id));
    EXPECT_EQ(first["Id_1"].AsInteger(), members[0].memberId);
    EXPECT_EQ(first["dPath"].AsText(), "/b.mp3");
}

}  // namespace
}  // namespace sonarchive::collections
