#include "cli/verb_arguments.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "text/path_bytes.h"

namespace sonarchive::cli {

std::string TakeSubVerb(Arguments& arguments, const std::string& verb,
                        const std::vector<std::string>& subVerbs) {
    std::vector<std::string> words = arguments.Words();
    std::string list;
    for (const auto& name : subVerbs) {
        list += (list.empty() ? "" : ", ") + name;
    }
    if (words.empty() || std::find(subVerbs.begin(), subVerbs.end(), words[0]) == subVerbs.end()) {
        throw UsageError{verb + " needs one of " + list};
    }
    std::string subVerb = words[0];
    words.erase(words.begin());
    arguments = Arguments(std::move(words));
    return subVerb;
}

std::int64_t IdArgument(const std::string& word, const std::string& what) {
    std::int64_t id = -1;
    const auto result = std::from_chars(word.data(), word.data() + word.size(), id);
    if (word.empty() || result.ec != std::errc() || result.ptr != word.data() + word.size() ||
        id < 0) {
        throw UsageError{"\"" + word + "\" is not " + what};
    }
    return id;
}

std::string AbsolutePathArgument(const std::string& word) {
    std::filesystem::path path(word);
    if (path.is_relative()) {
        // The word is in the program's form already; the working folder comes from the system.
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::current_path(error);
        if (!error) {
            path = std::filesystem::path(text::PathFromSystem(folder.string())) / path;
        }
    }
    return path.lexically_normal().string();
}

}  // namespace sonarchive::cli
