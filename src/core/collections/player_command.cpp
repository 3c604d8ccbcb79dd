#include "collections/player_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "text/path_bytes.h"

extern char** environ;

namespace sonarchive::collections {
namespace {

// Shell-like splitting: blanks separate words, '...' is literal, "..." and a backslash escape
// the next character (inside double quotes only \" \\ \$ \` are escapes). An unfinished quote
// runs to the end.
std::vector<std::string> SplitWords(const std::string& command) {
    std::vector<std::string> words;
    std::string current;
    bool inWord = false;
    const auto finish = [&] {
        if (inWord) {
            words.push_back(std::move(current));
            current = {};
            inWord = false;
        }
    };
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            finish();
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const auto end = command.find('\'', i + 1);
            current += command.substr(i + 1, end == std::string::npos ? end : end - i - 1);
            i = end == std::string::npos ? command.size() : end;
        } else if (c == '"') {
            for (++i; i < command.size() && command[i] != '"'; ++i) {
                if (command[i] == '\\' && i + 1 < command.size() &&
                    std::string_view("\"\\$`").find(command[i + 1]) != std::string_view::npos) {
                    ++i;
                }
                current += command[i];
            }
        } else if (c == '\\' && i + 1 < command.size()) {
            current += command[++i];
        } else {
            current += c;
        }
    }
    finish();
    return words;
}

// Waits for the player in the background so that it leaves no zombie behind.
void ReapLater(pid_t child) {
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

std::vector<std::string> PlayerArguments(const std::string& command, const std::string& path) {
    std::vector<std::string> arguments;
    bool placed = false;
    for (const std::string& word : SplitWords(command)) {
        std::string argument;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (word.compare(i, 2, "%f") == 0) {
                argument += path;
                placed = true;
                ++i;
            } else {
                argument += word[i];
            }
        }
        arguments.push_back(std::move(argument));
    }
    if (!arguments.empty() && !placed) {
        arguments.push_back(path);
    }
    return arguments;
}

bool StartDetached(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return false;
    }
    std::vector<std::string> system;
    system.reserve(arguments.size());
    for (const auto& argument : arguments) {
        system.push_back(text::PathToSystem(argument));
    }
    std::vector<char*> argv;
    for (auto& argument : system) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t child = 0;
    const int result = ::posix_spawnp(&child, argv[0], &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (result != 0) {
        return false;
    }
    ReapLater(child);
    return true;
}

}  // namespace sonarchive::collections
