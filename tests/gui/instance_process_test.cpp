// The desktop program as a file manager starts it: real processes of the built binary on the
// offscreen platform, each with a private data directory, settings folder and runtime folder.
// Every wait has a time limit and every process started is killed at the end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#include "gui/shell/single_instance.h"
#include "support/encoders.h"
#include "support/test_support.h"

extern char** environ;

namespace sonarchive::testing {
namespace {

using namespace std::chrono_literals;

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// One run of the program; killed when it is still running at the end.
class ProgramProcess {
public:
    ProgramProcess(const std::vector<std::string>& arguments,
                   const std::map<std::string, std::string>& environment,
                   const std::string& workingDirectory, const std::string& log) {
        std::vector<std::string> argv{SONARCHIVE_PROGRAM};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<std::string> envp;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string variable(*entry);
            if (environment.count(variable.substr(0, variable.find('='))) == 0) {
                envp.push_back(variable);
            }
        }
        for (const auto& [name, value] : environment) {
            envp.push_back(name + "=" + value);
        }
        // Everything the child needs is made before the fork.
        std::vector<char*> argvPointers = Pointers(argv);
        std::vector<char*> envpPointers = Pointers(envp);
        const int output = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        pid_ = ::fork();
        if (pid_ == 0) {
            if (::chdir(workingDirectory.c_str()) != 0) {
                ::_exit(126);
            }
            ::dup2(output, STDOUT_FILENO);
            ::dup2(output, STDERR_FILENO);
            ::execve(argvPointers[0], argvPointers.data(), envpPointers.data());
            ::_exit(127);
        }
        ::close(output);
    }
    ~ProgramProcess() { Kill(); }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // The exit status once it ended within the limit; nothing while it still runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit) {
        WaitUntil([this] { return Reap(); }, limit);
        return status_;
    }
    bool Running() { return !Reap(); }
    // As a crash ends it: nothing is cleaned up.
    void Kill() {
        if (Running()) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            status_ = -1;
        }
    }

private:
    static std::vector<char*> Pointers(std::vector<std::string>& texts) {
        std::vector<char*> pointers;
        for (std::string& text : texts) {
            pointers.push_back(text.data());
        }
        pointers.push_back(nullptr);
        return pointers;
    }
    bool Reap() {
        if (status_ || pid_ <= 0) {
            return true;
        }
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) {
            return false;
        }
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return true;
    }

    pid_t pid_ = -1;
    std::optional<int> status_;
};

// The names of the files in a catalog, read as any SQLite reader would while the program runs
// (the stored paths begin at the mount point of the test's folder, wherever that is).
std::vector<std::string> CataloguedNames(const std::string& database) {
    std::vector<std::string> paths;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "select dPath from maindata", -1, &statement, nullptr) ==
            SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                const std::filesystem::path stored(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
                paths.push_back(stored.filename().string());
            }
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    std::sort(paths.begin(), paths.end());
    return paths;
}

class InstanceProcessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        song_ = new TempDir;
        ASSERT_TRUE(MakeToneWav(*song_ / "tone.wav", 1.0, 44100, 2));
        ASSERT_TRUE(EncodeMp3(*song_ / "tone.wav", *song_ / "tone.mp3", "-b 128"));
    }
    static void TearDownTestSuite() {
        delete song_;
        song_ = nullptr;
    }

    InstanceProcessTest() {
        for (const char* folder : {"one/data", "one/config", "two/data", "two/config", "run"}) {
            std::filesystem::create_directories(dir / folder);
        }
        ::chmod((dir / "run").c_str(), 0700);
        for (const char* settings : {"one/config/settings.json", "two/config/settings.json"}) {
            WriteBytes(dir / settings, R"({"FIRST_TIME_USAGE": 0})");
        }
    }

    // A copy of the test song; its path.
    std::string Song(const std::string& relative) {
        const std::string path = dir / relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::filesystem::copy_file(*song_ / "tone.mp3", path);
        return path;
    }

    // A start of the program on catalog "one" or "two", in the test's folder.
    std::unique_ptr<ProgramProcess> Start(const std::string& catalog,
                                          const std::vector<std::string>& arguments) {
        return std::make_unique<ProgramProcess>(
            arguments,
            std::map<std::string, std::string>{
                {"QT_QPA_PLATFORM", "offscreen"},
                {"SONARCHIVE_DATA_DIR", dir / (catalog + "/data")},
                {"SONARCHIVE_CONFIG_DIR", dir / (catalog + "/config")},
                {"XDG_RUNTIME_DIR", dir / "run"}},
            dir.Path(), dir / "program.log");
    }

    std::string SocketOf(const std::string& catalog) {
        ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
        return gui::InstanceSocketPath(dir / (catalog + "/data")).toStdString();
    }
    // Waits until a program listens for later starts on the catalog.
    bool Listening(const std::string& catalog) {
        const std::string socket = SocketOf(catalog);
        return WaitUntil([&socket] {
            struct stat st {};
            return ::stat(socket.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
        });
    }
    // Waits until the catalog holds exactly these files.
    ::testing::AssertionResult Holds(const std::string& catalog,
                                     const std::vector<std::string>& files) {
        std::vector<std::string> expected;
        for (const std::string& file : files) {
            expected.push_back(std::filesystem::path(file).filename().string());
        }
        std::sort(expected.begin(), expected.end());
        const std::string database = dir / (catalog + "/data/sonarchv.db");
        if (WaitUntil([&] { return CataloguedNames(database) == expected; })) {
            return ::testing::AssertionSuccess();
        }
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        for (const std::string& path : CataloguedNames(database)) {
            failure << path << "\n";
        }
        return failure << ReadBytes(dir / "program.log");
    }

    static TempDir* song_;
    TempDir dir;
};

TempDir* InstanceProcessTest::song_ = nullptr;

TEST_F(InstanceProcessTest, FilesAndAFolderNamedAtStartAreAddedAsIfDropped) {
    const std::string a = Song("a.mp3");
    const std::string b = Song("b.mp3");
    const std::string c = Song("music/c.mp3");
    const std::string d = Song("music/deeper/d.MP3");
    Song("music/.hidden.mp3");
    WriteBytes(dir / "music/notes.txt", "not audio");
    // Relative names are taken against the folder the program was started in.
    auto program = Start("one", {"a.mp3", b, "music/"});
    EXPECT_TRUE(Holds("one", {a, b, c, d}));
    EXPECT_TRUE(program->Running());
}

TEST_F(InstanceProcessTest, ALaterStartHandsOverItsFilesAndEnds) {
    auto first = Start("one", {});
    ASSERT_TRUE(Listening("one")) << ReadBytes(dir / "program.log");
    const std::vector<std::string> three = {Song("e.mp3"), Song("f.mp3"), Song("g.mp3")};

    auto second = Start("one", three);
    EXPECT_EQ(second->WaitForExit(30s), 0);
    EXPECT_TRUE(Holds("one", three));

    // Without files a later start only brings the first to the front.
    auto third = Start("one", {});
    EXPECT_EQ(third->WaitForExit(30s), 0);
    EXPECT_TRUE(first->Running());
    EXPECT_TRUE(Holds("one", three));
}

TEST_F(InstanceProcessTest, ASocketLeftByACrashDoesNotStopTheNextStart) {
    auto crashed = Start("one", {});
    ASSERT_TRUE(Listening("one"));
    crashed->Kill();
    ASSERT_TRUE(std::filesystem::exists(SocketOf("one")));

    const std::string h = Song("h.mp3");
    auto next = Start("one", {h});
    EXPECT_TRUE(Holds("one", {h}));
    EXPECT_TRUE(next->Running());
    // It listens in the crashed one's place.
    const std::string i = Song("i.mp3");
    auto later = Start("one", {i});
    EXPECT_EQ(later->WaitForExit(30s), 0);
    EXPECT_TRUE(Holds("one", {h, i}));
}

TEST_F(InstanceProcessTest, AStartOnAnotherCatalogRunsAsAProgramOfItsOwn) {
    auto first = Start("one", {});
    ASSERT_TRUE(Listening("one"));
    const std::string j = Song("j.mp3");
    auto other = Start("two", {j});
    EXPECT_TRUE(Holds("two", {j}));
    EXPECT_TRUE(Listening("two"));
    EXPECT_NE(SocketOf("one"), SocketOf("two"));
    EXPECT_FALSE(other->WaitForExit(1s).has_value());
    EXPECT_TRUE(Holds("one", {}));
}

}  // namespace
}  // namespace sonarchive::testing
