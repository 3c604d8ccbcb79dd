// sonarchive-cli: the catalog from the command line, on the same catalog and settings as the
// desktop program.
#include <algorithm>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/completion.h"
#include "cli/verbs.h"
#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

void PrintProgramHelp(std::ostream& out) {
    out << "Usage: sonarchive-cli [--data-dir DIR] VERB [OPTIONS] [ARGUMENTS]\n\n"
           "Keeps a catalog of audio files (MP3, Ogg Vorbis, WAV, Monkey's Audio).\n\n"
           "Options:\n"
           "  --data-dir DIR  the catalog's folder (default: $SONARCHIVE_DATA_DIR, else\n"
           "                  $XDG_DATA_HOME/sonarchive, else ~/.local/share/sonarchive)\n"
           "  --help          this text; VERB --help describes one verb\n\n"
           "Verbs:\n";
    for (const Verb& verb : AllVerbs()) {
        out << "  " << verb.name
            << std::string(verb.name.size() < 12 ? 12 - verb.name.size() : 1, ' ') << verb.summary
            << "\n";
    }
    out << "\nExit status: 0 on success, 1 when the operation was refused or failed, 2 on bad\n"
           "usage.\n";
}

const Verb* FindVerb(const std::string& name) {
    for (const Verb& verb : AllVerbs()) {
        if (verb.name == name) {
            return &verb;
        }
    }
    return nullptr;
}

int Fail(const std::string& message) {
    std::cerr << "sonarchive-cli: " << message << "\n";
    return kExitUsage;
}

int Run(std::vector<std::string> words) {
    if (!words.empty() && words.front() == kCompletionWord) {
        return RunCompletion({words.begin() + 1, words.end()}, std::cout);
    }
    Arguments all(std::move(words));
    std::optional<std::string> dataDir;
    try {
        dataDir = all.TakeOption("--data-dir");
    } catch (const UsageError& error) {
        return Fail(error.message);
    }
    const bool wantsHelp = all.TakeFlag("--help");
    const bool assumeYes = all.TakeFlag("--yes");
    std::vector<std::string> rest = all.Words();
    const auto verbAt = std::find_if(rest.begin(), rest.end(),
                                     [](const std::string& w) { return w.empty() || w[0] != '-'; });
    if (verbAt == rest.end()) {
        PrintProgramHelp(wantsHelp ? std::cout : std::cerr);
        return wantsHelp && rest.empty() ? kExitSuccess : kExitUsage;
    }
    const Verb* verb = FindVerb(*verbAt);
    if (verb == nullptr) {
        return Fail("unknown verb \"" + *verbAt + "\"; see sonarchive-cli --help");
    }
    if (wantsHelp) {
        std::cout << verb->help;
        return kExitSuccess;
    }
    rest.erase(verbAt);
    Arguments arguments(std::move(rest));
    try {
        CliContext context(dataDir.value_or(""), assumeYes);
        return verb->run(arguments, context);
    } catch (const UsageError& error) {
        return Fail(error.message + "; see sonarchive-cli " + verb->name + " --help");
    } catch (const catalog::EngineError& error) {
        std::cerr << "sonarchive-cli: " << error.Message() << "\n";
        return kExitFailure;
    }
}

void OnInterrupt(int) {
    TerminalInteraction::RequestCancel();
}

}  // namespace
}  // namespace sonarchive::cli

int main(int argc, char** argv) {
    std::signal(SIGINT, sonarchive::cli::OnInterrupt);
    // Arguments name files: their bytes are taken into the program's form of names.
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        words.push_back(sonarchive::text::PathFromSystem(argv[i]));
    }
    return sonarchive::cli::Run(std::move(words));
}
