#include "gui/shell/mini_player.h"

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QMediaDevices>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "gui/shell/qt_media_backend.h"
#include "gui_support.h"

namespace sonarchive::testing {
namespace {

using Mode = gui::MediaBackend::Mode;

class MiniPlayerTest : public ::testing::Test {
protected:
    MiniPlayerTest() {
        auto fake = std::make_unique<FakeMediaBackend>();
        backend = fake.get();
        player = std::make_unique<gui::TFMiniPlayer>(std::move(fake));
    }

    QSlider& Position() { return *player->findChild<QSlider*>("TrackBarPosition"); }
    QSlider& Volume() { return *player->findChild<QSlider*>("TrackBarVolume"); }
    void Press(const char* button) { player->findChild<QPushButton*>(button)->click(); }
    // The requests made since the last call.
    std::vector<std::string> Calls() {
        std::vector<std::string> calls;
        calls.swap(backend->calls);
        return calls;
    }

    FakeMediaBackend* backend;
    std::unique_ptr<gui::TFMiniPlayer> player;
};

TEST_F(MiniPlayerTest, PlayFileShowsTheWindowAndPlaysFromTheStart) {
    EXPECT_EQ(Position().maximum(), 30000);
    EXPECT_TRUE(player->PlayFile("/music/one.mp3"));
    EXPECT_TRUE(player->isVisible());
    EXPECT_EQ(Position().maximum(), 200000);
    EXPECT_EQ(Position().value(), 0);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"close", "open /music/one.mp3", "play"}));

    // The second file replaces the first: its device is closed before the next one opens.
    backend->length = 90000;
    EXPECT_TRUE(player->PlayFile("/music/two.mp3"));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"close", "open /music/two.mp3", "play"}));
    EXPECT_EQ(Position().maximum(), 90000);

    backend->openSucceeds = false;
    EXPECT_FALSE(player->PlayFile("/music/broken.mp3"));
    EXPECT_TRUE(player->isVisible());
    EXPECT_EQ(backend->mode, Mode::NotReady);
}

TEST_F(MiniPlayerTest, StopGoesBackToTheStartAndPlayStartsThere) {
    player->PlayFile("/music/one.mp3");
    backend->position = 42000;
    Calls();
    Press("BStop");
    EXPECT_EQ(Position().value(), 0);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"stop", "seek 0"}));
    Press("BPlay");
    EXPECT_EQ(Calls(), std::vector<std::string>{"play"});
    EXPECT_EQ(backend->mode, Mode::Playing);
    EXPECT_EQ(backend->position, 0);
}

TEST_F(MiniPlayerTest, SeekingIsIgnoredWhileStoppedAndResumesWhilePaused) {
    player->PlayFile("/music/one.mp3");
    Press("BStop");
    Calls();
    Position().setValue(5000);
    EXPECT_TRUE(Calls().empty());

    Press("BPlay");
    Press("BPause");
    EXPECT_EQ(backend->mode, Mode::Paused);
    Calls();
    Position().setValue(12000);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"resume", "seek 12000", "play"}));
    EXPECT_EQ(backend->mode, Mode::Playing);

    Position().setValue(15000);  // while playing: pause, seek, play
    EXPECT_EQ(Calls(), (std::vector<std::string>{"pause", "seek 15000", "play"}));

    Press("BPause");
    Press("BPause");
    EXPECT_EQ(Calls(), (std::vector<std::string>{"pause", "resume"}));
}

TEST_F(MiniPlayerTest, TheProgramsOwnMovesOfTheSliderAreNoSeeking) {
    player->PlayFile("/music/one.mp3");
    Calls();
    backend->position = 61000;
    // One refresh tick, as the timer makes it every second while the window is shown.
    QTest::qWait(gui::TFMiniPlayer::kRefreshMs + 200);
    EXPECT_EQ(Position().value(), 61000);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(MiniPlayerTest, TheVolumeSliderUnmutesAndIsGreyedWithoutAnOutput) {
    player->show();
    EXPECT_EQ(Volume().maximum(), 65535);
    EXPECT_EQ(Volume().value(), 30000);
    EXPECT_TRUE(backend->muted);  // reading the volume changes nothing
    Volume().setValue(40000);
    EXPECT_FALSE(backend->muted);
    EXPECT_EQ(backend->volume, 40000);
    player->close();

    backend->volumeControl = false;
    player->show();
    EXPECT_FALSE(Volume().isEnabled());
}

TEST_F(MiniPlayerTest, ClosingClosesTheFileAndHides) {
    bool released = false;
    QObject::connect(player.get(), &gui::TFMiniPlayer::closed, [&released] { released = true; });
    player->PlayFile("/music/one.mp3");
    Press("BClose");
    EXPECT_TRUE(released);
    EXPECT_FALSE(player->isVisible());
    EXPECT_EQ(backend->mode, Mode::NotReady);
}

TEST(QtMediaBackend, RefusesWhatItCannotPlayAndKnowsWhetherThereIsAnOutput) {
    TempDir dir;
    WriteBytes(dir / "notes.mp3", "these are no MPEG frames at all");
    gui::QtMediaBackend backend;
    EXPECT_FALSE(backend.Open(QString::fromStdString(dir / "missing.mp3")));
    EXPECT_FALSE(backend.Open(QString::fromStdString(dir / "notes.mp3")));
    EXPECT_EQ(backend.State(), Mode::NotReady);
    EXPECT_FALSE(backend.Play());
    EXPECT_FALSE(backend.Seek(1000));
    EXPECT_EQ(backend.HasVolumeControl(), !QMediaDevices::defaultAudioOutput().isNull());
}

}  // namespace
}  // namespace sonarchive::testing
