#include "cli/usage_forms.h"

#include <algorithm>
#include <sstream>

namespace sonarchive::cli {
namespace {

constexpr std::string_view kUsagePrefix = "Usage:";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        parts.emplace_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

std::vector<std::string> Words(std::string_view text) {
    std::istringstream in{std::string(text)};
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

bool IsOption(std::string_view word) {
    return word.size() > 2 && word.substr(0, 2) == "--";
}

bool IsLowerWord(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

bool Repeats(std::string_view word) {
    return word.size() > 3 && word.substr(word.size() - 3) == "...";
}

// The word after an option is its value unless it is another option, a bracketed part or a
// repeated word ("--up|--down MEMBERID..."); a quoted value may repeat ("--where "A|B"...").
bool IsValueOf(std::string_view word) {
    return word[0] != '-' && word[0] != '[' && (word[0] == '"' || !Repeats(word));
}

class FormReader {
public:
    explicit FormReader(UsageForm& form) : form_(form) {}

    void Read(const std::vector<std::string>& words) {
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (words[i].front() == '[') {
                std::vector<std::string> group;
                for (; i < words.size(); ++i) {
                    group.push_back(words[i]);
                    if (words[i].back() == ']') {
                        break;
                    }
                }
                group.front().erase(0, 1);
                group.back().pop_back();
                ReadGroup(group);
            } else if (IsOption(words[i])) {
                const bool valued = i + 1 < words.size() && IsValueOf(words[i + 1]);
                if (valued && words[i].find('|') == std::string::npos) {
                    form_.options.push_back({words[i], words[i + 1]});
                    ++i;
                } else {
                    ReadAlternatives(words[i]);
                }
            } else if (Empty() && IsLowerWord(words[i])) {
                form_.subVerb = words[i];
            } else {
                form_.positionals.push_back(words[i]);
            }
        }
    }

private:
    bool Empty() const {
        return form_.subVerb.empty() && form_.options.empty() && form_.positionals.empty();
    }

    // "[--value V]", "[--copy|--move]", "[--all|ID...]", "[GROUP]"
    void ReadGroup(const std::vector<std::string>& group) {
        if (group.empty() || group.front().empty()) {
            return;
        }
        if (group.size() > 1 && IsOption(group.front()) &&
            group.front().find('|') == std::string::npos) {
            std::string value;
            for (std::size_t i = 1; i < group.size(); ++i) {
                value += (i > 1 ? " " : "") + group[i];
            }
            form_.options.push_back({group.front(), value});
            return;
        }
        for (const std::string& word : group) {
            ReadAlternatives(word);
        }
    }

    void ReadAlternatives(const std::string& word) {
        for (const std::string& alternative : Split(word, '|')) {
            if (IsOption(alternative)) {
                form_.options.push_back({alternative, {}});
            } else if (!alternative.empty()) {
                form_.positionals.push_back(alternative);
            }
        }
    }

    UsageForm& form_;
};

}  // namespace

HelpParts SplitHelp(std::string_view help) {
    HelpParts parts;
    const std::vector<std::string> lines = Split(help, '\n');
    std::size_t i = 0;
    while (i < lines.size() && lines[i].rfind(kUsagePrefix, 0) != 0) {
        ++i;
    }
    if (i == lines.size()) {
        parts.body = std::string(help);
        return parts;
    }
    // A statement begins with the program's name; its further lines are indented. Any other
    // line ends the block, also without an empty line before it.
    std::string program;
    for (bool first = true; i < lines.size() && !Trimmed(lines[i]).empty(); ++i, first = false) {
        const std::string_view line =
            Trimmed(first ? std::string_view(lines[i]).substr(kUsagePrefix.size()) : lines[i]);
        const std::string head(line.substr(0, line.find(' ')));
        if (first) {
            program = head;
        }
        if (first || head == program) {
            parts.usage.emplace_back(line);
        } else if (lines[i].front() == ' ' || lines[i].front() == '\t') {
            parts.usage.back() += " " + std::string(line);
        } else {
            break;
        }
    }
    for (; i < lines.size() && Trimmed(lines[i]).empty(); ++i) {
    }
    for (std::size_t j = i; j < lines.size(); ++j) {
        parts.body += lines[j] + (j + 1 < lines.size() ? "\n" : "");
    }
    return parts;
}

std::vector<UsageForm> ReadUsageForms(std::string_view verb, std::string_view help) {
    std::vector<UsageForm> forms;
    for (const std::string& statement : SplitHelp(help).usage) {
        std::vector<std::string> words = Words(statement);
        const auto verbAt = std::find(words.begin(), words.end(), verb);
        if (verbAt == words.end()) {
            continue;
        }
        words.erase(words.begin(), verbAt + 1);
        UsageForm form;
        FormReader(form).Read(words);
        forms.push_back(std::move(form));
    }
    return forms;
}

std::vector<std::string> PlaceholderChoices(std::string_view placeholder) {
    std::string_view bare = placeholder;
    if (Repeats(bare)) {
        bare.remove_suffix(3);
    }
    std::vector<std::string> choices;
    for (const std::string& alternative : Split(bare, '|')) {
        if (IsLowerWord(alternative)) {
            choices.push_back(alternative);
        }
    }
    return choices;
}

}  // namespace sonarchive::cli
