// The message a second start sends to the running program: what goes in comes out, in pieces
// of any size, and nothing a hostile or broken sender writes is taken.
#include <gtest/gtest.h>

#include "gui/shell/hand_over_message.h"
#include "support/test_support.h"

namespace sonarchive::testing {
namespace {

using State = gui::HandOverDecoder::State;

std::string Number(std::uint32_t n) {
    return {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
            static_cast<char>(n)};
}

State FeedWhole(const std::string& bytes) {
    gui::HandOverDecoder decoder;
    return decoder.Feed(bytes);
}

TEST(HandOverMessage, PathsComeOutAsTheyWentInWhateverPiecesTheBytesArriveIn) {
    const std::vector<std::string> paths = {"/music/a.mp3", "/music/caf\xEE\xBF\xA9.mp3",
                                            "/music/with space/\xC3\xBC"
                                            "ber.ogg",
                                            "/" + std::string(gui::kMaxHandedPathBytes - 1, 'x')};
    const std::string message = gui::EncodeHandOver(paths);
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(message.substr(0, 8), "SnA1" + Number(4));

    for (const std::size_t piece :
         {message.size(), std::size_t{1}, std::size_t{3}, std::size_t{7}}) {
        gui::HandOverDecoder decoder;
        State state = State::Incomplete;
        for (std::size_t at = 0; at < message.size(); at += piece) {
            // Every proper prefix waits for more; only the last byte completes it.
            EXPECT_EQ(state, State::Incomplete) << "piece " << piece << " at " << at;
            state = decoder.Feed(std::string_view(message).substr(at, piece));
        }
        ASSERT_EQ(state, State::Complete) << "piece " << piece;
        EXPECT_EQ(decoder.Paths(), paths);
    }

    // A start without files only brings the running program to the front.
    gui::HandOverDecoder none;
    EXPECT_EQ(none.Feed(gui::EncodeHandOver({})), State::Complete);
    EXPECT_TRUE(none.Paths().empty());
}

TEST(HandOverMessage, PathsThatBreakTheRulesAreNeitherSentNorTaken) {
    const std::vector<std::string> bad = {"relative/a.mp3", "", std::string("/a\0b.mp3", 8),
                                          "/caf\xE9.mp3",
                                          "/" + std::string(gui::kMaxHandedPathBytes, 'x')};
    for (const std::string& path : bad) {
        EXPECT_EQ(gui::EncodeHandOver({"/fine.mp3", path}), "") << path;
        const std::string written =
            "SnA1" + Number(1) + Number(static_cast<std::uint32_t>(path.size())) + path;
        EXPECT_EQ(FeedWhole(written), State::Refused) << path;
    }
    EXPECT_EQ(gui::EncodeHandOver(std::vector<std::string>(gui::kMaxHandedPaths + 1, "/a")), "");
}

TEST(HandOverMessage, AHostileSenderIsRefusedBeforeTheReceiverHoldsMuch) {
    // A wrong start is refused at its first byte, without waiting for more.
    EXPECT_EQ(FeedWhole("G"), State::Refused);
    EXPECT_EQ(FeedWhole("GET / HTTP/1.1\r\n"), State::Refused);
    EXPECT_EQ(FeedWhole("SnA2" + Number(0)), State::Refused);
    // Counts and lengths beyond the limits are refused as soon as they are read.
    EXPECT_EQ(FeedWhole("SnA1" + Number(gui::kMaxHandedPaths + 1)), State::Refused);
    EXPECT_EQ(FeedWhole("SnA1" + Number(0xFFFFFFFF)), State::Refused);
    EXPECT_EQ(FeedWhole("SnA1" + Number(1) + Number(0xFFFFFFFF)), State::Refused);
    EXPECT_EQ(FeedWhole("SnA1" + Number(1) + Number(0)), State::Refused);
    // Nothing may follow a whole message, in the same piece or a later one.
    const std::string whole = gui::EncodeHandOver({"/a.mp3"});
    EXPECT_EQ(FeedWhole(whole + "x"), State::Refused);
    gui::HandOverDecoder decoder;
    ASSERT_EQ(decoder.Feed(whole), State::Complete);
    EXPECT_EQ(decoder.Feed("x"), State::Refused);
    // A sender that claims many paths and keeps writing is cut off at the total limit.
    gui::HandOverDecoder flood;
    State state = flood.Feed("SnA1" + Number(gui::kMaxHandedPaths));
    const std::string path = "/" + std::string(1000, 'p');
    const std::string entry = Number(static_cast<std::uint32_t>(path.size())) + path;
    std::size_t sent = 8;
    while (state == State::Incomplete && sent <= gui::kMaxHandOverBytes + entry.size()) {
        state = flood.Feed(entry);
        sent += entry.size();
    }
    EXPECT_EQ(state, State::Refused);
    EXPECT_LE(sent, gui::kMaxHandOverBytes + entry.size());
}

TEST(HandOverMessage, RandomBytesNeverCompleteAMessage) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const std::string noise = RandomBytes(1 + seed % 97, seed);
        gui::HandOverDecoder decoder;
        EXPECT_NE(decoder.Feed("SnA1" + noise), State::Complete) << seed;
        EXPECT_NE(FeedWhole(noise), State::Complete) << seed;
    }
}

}  // namespace
}  // namespace sonarchive::testing
