// One program per catalog, inside one test process: the later start runs on a thread of its
// own, as it would in its own process, while the first answers on the window thread.
#include "gui/shell/single_instance.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <optional>

#include "gui/shell/hand_over_message.h"
#include "support/test_support.h"

namespace sonarchive::testing {
namespace {

using Claim = gui::SingleInstance::Claim;

// Lets the window thread run until the future is ready (at most 20 seconds).
template <typename T>
T AnswerWhileWaiting(std::future<T>& future) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (future.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
           std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(future.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    return future.get();
}

void RunEventsFor(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

class SingleInstanceTest : public ::testing::Test {
protected:
    SingleInstanceTest() {
        first.SetReceiver([this](std::vector<std::string> paths) { received.push_back(paths); });
    }

    std::future<Claim> LaterStart(std::vector<std::string> paths) {
        return std::async(std::launch::async, [this, paths] {
            gui::SingleInstance later(socket);
            return later.ClaimOrHandOver(paths);
        });
    }

    // Writes raw bytes from another thread as a sender that ends after them; true when the
    // program closed the connection (instead of waiting for more).
    std::future<bool> RawSender(std::string bytes, bool waitForClose) {
        return std::async(std::launch::async, [this, bytes, waitForClose] {
            QLocalSocket sender;
            sender.connectToServer(socket);
            if (!sender.waitForConnected(3000)) {
                return false;
            }
            sender.write(bytes.data(), static_cast<qint64>(bytes.size()));
            sender.waitForBytesWritten(3000);
            if (!waitForClose) {
                sender.disconnectFromServer();
                return true;
            }
            return sender.waitForDisconnected(5000) && sender.bytesAvailable() == 0;
        });
    }

    TempDir dir;
    QString socket = QString::fromStdString(dir / "instance.socket");
    gui::SingleInstance first{socket};
    std::vector<std::vector<std::string>> received;
};

TEST_F(SingleInstanceTest, ALaterStartHandsItsFilesToTheFirstAndOneWithoutFilesOnlyRaisesIt) {
    ASSERT_EQ(first.ClaimOrHandOver({"/ignored/by/the/first.mp3"}), Claim::First);
    EXPECT_TRUE(received.empty());

    const std::vector<std::string> three = {"/music/a.mp3", "/music/caf\xEE\xBF\xA9.mp3",
                                            "/music/folder"};
    auto handed = LaterStart(three);
    EXPECT_EQ(AnswerWhileWaiting(handed), Claim::HandedOver);
    RunEventsFor(std::chrono::milliseconds(50));
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], three);

    auto raise = LaterStart({});
    EXPECT_EQ(AnswerWhileWaiting(raise), Claim::HandedOver);
    RunEventsFor(std::chrono::milliseconds(50));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_TRUE(received[1].empty());
}

TEST_F(SingleInstanceTest, ASocketLeftByAProgramThatDiedIsTakenOverAndServesTheNextStart) {
    // A socket file nobody listens on, as a crash leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.toUtf8().constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(socket.toStdString()));

    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(first.ClaimOrHandOver({}), Claim::First);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));

    auto handed = LaterStart({"/music/a.mp3"});
    EXPECT_EQ(AnswerWhileWaiting(handed), Claim::HandedOver);
    RunEventsFor(std::chrono::milliseconds(50));
    EXPECT_EQ(received, (std::vector<std::vector<std::string>>{{"/music/a.mp3"}}));
}

TEST_F(SingleInstanceTest, BrokenOrHostileMessagesAreDroppedAndTheProgramStillListens) {
    ASSERT_EQ(first.ClaimOrHandOver({}), Claim::First);

    auto garbage = RawSender("GET / HTTP/1.1\r\n\r\n", true);
    EXPECT_TRUE(AnswerWhileWaiting(garbage)) << "a wrong message is not answered";
    const std::string whole = gui::EncodeHandOver({"/music/a.mp3"});
    auto truncated = RawSender(whole.substr(0, whole.size() - 2), false);
    EXPECT_TRUE(AnswerWhileWaiting(truncated));
    auto overlong = RawSender(whole + "more", true);
    EXPECT_TRUE(AnswerWhileWaiting(overlong));
    RunEventsFor(std::chrono::milliseconds(100));
    EXPECT_TRUE(received.empty());

    auto handed = LaterStart({"/music/b.mp3"});
    EXPECT_EQ(AnswerWhileWaiting(handed), Claim::HandedOver);
    RunEventsFor(std::chrono::milliseconds(50));
    EXPECT_EQ(received, (std::vector<std::vector<std::string>>{{"/music/b.mp3"}}));
}

TEST_F(SingleInstanceTest, AProgramThatTakesNoFilesKeepsItsSocketAndTheLaterStartGivesUp) {
    // Listens, but never reads: a program hung on its window thread.
    QLocalServer hung;
    ASSERT_TRUE(hung.listen(socket));
    auto handed = std::async(std::launch::async, [this] {
        gui::SingleInstance later(socket, std::chrono::milliseconds(300));
        return later.ClaimOrHandOver({"/music/a.mp3"});
    });
    ASSERT_EQ(handed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(handed.get(), Claim::NoAnswer);
    // The running program's socket is still its own.
    QLocalSocket check;
    check.connectToServer(socket);
    EXPECT_TRUE(check.waitForConnected(1000));
}

TEST_F(SingleInstanceTest, ASocketOfAnotherUserIsNeitherUsedNorRemoved) {
    WriteBytes(socket.toStdString(), "someone else's");
    if (::chown(socket.toUtf8().constData(), 65534, 65534) != 0) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    EXPECT_EQ(first.ClaimOrHandOver({"/music/a.mp3"}), Claim::Alone);
    EXPECT_EQ(ReadBytes(socket.toStdString()), "someone else's");
}

TEST(InstanceSocketPath, OneCatalogHowEverItIsSpelledAndAnotherForEveryOtherCatalog) {
    TempDir dir;
    std::filesystem::create_directories(dir / "data");
    std::filesystem::create_directories(dir / "run");
    ::chmod((dir / "run").c_str(), 0700);
    std::filesystem::create_directory_symlink(dir / "data", dir / "link");
    const char* saved = ::getenv("XDG_RUNTIME_DIR");
    const std::optional<std::string> before =
        saved ? std::optional<std::string>(saved) : std::nullopt;
    ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);

    const QString path = gui::InstanceSocketPath(dir / "data");
    EXPECT_TRUE(path.startsWith(
        QString::fromStdString(dir / "run/sonarchive-" + std::to_string(::getuid()) + "-")))
        << path.toStdString();
    EXPECT_EQ(gui::InstanceSocketPath(dir / "data/"), path);
    EXPECT_EQ(gui::InstanceSocketPath(dir / "./data"), path);
    EXPECT_EQ(gui::InstanceSocketPath(dir / "link"), path);
    // A data directory that is not made yet has its own name too.
    EXPECT_NE(gui::InstanceSocketPath(dir / "other"), path);
    EXPECT_EQ(gui::InstanceSocketPath(dir / "other"), gui::InstanceSocketPath(dir / "other/"));

    // Without a runtime folder of the user's the socket goes to the temporary folder.
    ::setenv("XDG_RUNTIME_DIR", (dir / "missing").c_str(), 1);
    EXPECT_TRUE(
        gui::InstanceSocketPath(dir / "data").startsWith(QDir::tempPath() + "/sonarchive-"));

    if (before) {
        ::setenv("XDG_RUNTIME_DIR", before->c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
}

}  // namespace
}  // namespace sonarchive::testing
