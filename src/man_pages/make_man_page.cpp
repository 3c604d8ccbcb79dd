// sonarchive-man-page: writes the manual page of a program from its --help texts, and with
// --verbs one section for every verb its help lists. Run at build time.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/usage_forms.h"
#include "man_pages/man_page.h"

namespace {

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// The standard output of a command; false when it could not run or failed.
bool Output(const std::string& command, std::string& output) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return false;
    }
    char buffer[4096];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    return ::pclose(pipe) == 0;
}

bool ReadFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return bool(in);
}

int Usage() {
    std::cerr << "Usage: sonarchive-man-page --program PATH --name NAME --summary TEXT\n"
                 "                           --version VERSION --output FILE [--include FILE]\n"
                 "                           [--see-also NAME]... [--verbs]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using sonarchive::man::ManPageSource;
    ManPageSource source;
    std::string program;
    std::string output;
    std::string include;
    bool verbs = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (word == "--program") {
            program = value();
        } else if (word == "--name") {
            source.name = value();
        } else if (word == "--summary") {
            source.summary = value();
        } else if (word == "--version") {
            source.version = value();
        } else if (word == "--output") {
            output = value();
        } else if (word == "--include") {
            include = value();
        } else if (word == "--see-also") {
            source.seeAlso.push_back(value());
        } else if (word == "--verbs") {
            verbs = true;
        } else {
            return Usage();
        }
    }
    if (program.empty() || source.name.empty() || output.empty()) {
        return Usage();
    }
    if (!Output(ShellQuote(program) + " --help", source.help)) {
        std::cerr << "sonarchive-man-page: " << program << " --help failed\n";
        return 1;
    }
    if (!include.empty() && !ReadFile(include, source.includedRoff)) {
        std::cerr << "sonarchive-man-page: cannot read " << include << "\n";
        return 1;
    }
    if (verbs) {
        const std::string body = sonarchive::cli::SplitHelp(source.help).body;
        for (const auto& section : sonarchive::man::ReadHelpBody(body).sections) {
            if (section.heading != "Verbs") {
                continue;
            }
            for (const auto& entry : section.entries) {
                sonarchive::man::VerbHelp verb{entry.term, entry.description, {}};
                if (!Output(ShellQuote(program) + " " + ShellQuote(verb.name) + " --help",
                            verb.help)) {
                    std::cerr << "sonarchive-man-page: " << program << " " << verb.name
                              << " --help failed\n";
                    return 1;
                }
                source.verbs.push_back(std::move(verb));
            }
        }
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << sonarchive::man::WriteManPage(source);
    out.close();
    if (!out) {
        std::cerr << "sonarchive-man-page: cannot write " << output << "\n";
        return 1;
    }
    return 0;
}
