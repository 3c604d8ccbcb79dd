// Shell completion for sonarchive-cli. The completion script asks the program itself what
// fits the word being typed, and the program answers from its verbs' help texts, the
// catalog's field captions and the collections of the chosen catalog.
#pragma once

#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/verbs.h"

namespace sonarchive::cli {

// The word that makes the program answer the completion script instead of running a verb.
constexpr const char* kCompletionWord = "__complete";

struct CompletionSources {
    std::span<const Verb> verbs;
    std::function<std::vector<std::string>()> fieldCaptions;
    // The ids of the collections in the catalog of a data directory ("" for the default one).
    std::function<std::vector<std::string>(const std::string& dataDirectory)> collectionIds;
};

enum class CompletionKind { Words, Files, Folders };

struct Completion {
    CompletionKind kind = CompletionKind::Words;
    std::vector<std::string> words;  // with Words: the candidates that start as the word does
};

// `words` is the command line after the program's name; its last word is the one completed
// (empty when a new word is begun).
Completion CompleteCommandLine(const std::vector<std::string>& words,
                               const CompletionSources& sources);

// Prints "words", "files" or "folders" on the first line, then one candidate a line.
int RunCompletion(const std::vector<std::string>& words, std::ostream& out);

}  // namespace sonarchive::cli
