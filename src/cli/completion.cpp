#include "cli/completion.h"

#include <algorithm>
#include <filesystem>

#include "catalog_store/catalog.h"
#include "catalog_store/sql_text.h"
#include "cli/usage_forms.h"
#include "collections/collection_list.h"
#include "platform/app_paths.h"

namespace sonarchive::cli {
namespace {

constexpr std::string_view kDataDirOption = "--data-dir";
// The verb whose ID words name collections; elsewhere an ID names a file row.
constexpr std::string_view kCollectionVerb = "collection";

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// The word typed so far, without the quote that opens it.
std::string Typed(std::string word) {
    if (!word.empty() && (word.front() == '"' || word.front() == '\'')) {
        word.erase(0, 1);
    }
    return word;
}

Completion Matching(const std::vector<std::string>& candidates, const std::string& typed) {
    Completion completion;
    for (const std::string& candidate : candidates) {
        if (StartsWith(candidate, typed) &&
            std::find(completion.words.begin(), completion.words.end(), candidate) ==
                completion.words.end()) {
            completion.words.push_back(candidate);
        }
    }
    return completion;
}

std::string Bare(std::string placeholder) {
    if (placeholder.size() > 3 && placeholder.ends_with("...")) {
        placeholder.resize(placeholder.size() - 3);
    }
    std::erase(placeholder, '"');
    return placeholder;
}

class LineCompleter {
public:
    LineCompleter(const std::vector<std::string>& words, const CompletionSources& sources)
        : sources_(sources),
          typed_(Typed(words.empty() ? std::string() : words.back())),
          before_(words.begin(), words.empty() ? words.end() : words.end() - 1) {}

    Completion Complete() {
        if (!before_.empty() && before_.back() == kDataDirOption) {
            return {CompletionKind::Folders, {}};
        }
        if (!FindVerb()) {
            if (unknownVerb_) {
                return {};
            }
            return StartsWith(typed_, "-") ? Matching({"--data-dir", "--help", "--yes"}, typed_)
                                           : Matching(VerbNames(), typed_);
        }
        forms_ = ReadUsageForms(verb_->name, verb_->help);
        const std::vector<std::string> subVerbs = SubVerbs();
        if (!subVerbs.empty()) {
            if (!FindSubVerb() && !StartsWith(typed_, "-")) {
                return Matching(subVerbs, typed_);
            }
            std::erase_if(forms_, [this](const UsageForm& f) { return f.subVerb != subVerb_; });
        }
        if (const OptionForm* option = FindOption(before_.back());
            option != nullptr && !option->value.empty()) {
            return ValuesOf(option->name, option->value);
        }
        if (StartsWith(typed_, "-")) {
            return Matching(OptionNames(), typed_);
        }
        return ValuesOf({}, PositionalPlaceholder(CountPositionals()));
    }

private:
    // Finds the verb and notes the data directory.
    bool FindVerb() {
        for (std::size_t i = 0; i < before_.size(); ++i) {
            const std::string& word = before_[i];
            if (word == kDataDirOption && i + 1 < before_.size()) {
                dataDirectory_ = before_[++i];
            } else if (StartsWith(word, std::string(kDataDirOption) + "=")) {
                dataDirectory_ = word.substr(kDataDirOption.size() + 1);
            } else if (verb_ == nullptr && !StartsWith(word, "-")) {
                const auto verbs = sources_.verbs;
                const auto found = std::find_if(verbs.begin(), verbs.end(),
                                                [&word](const Verb& v) { return v.name == word; });
                if (found == verbs.end()) {
                    unknownVerb_ = true;
                    return false;
                }
                verb_ = &*found;
                afterVerb_ = i + 1;
            }
        }
        firstArgument_ = afterVerb_;
        return verb_ != nullptr;
    }

    // The sub-verb is the first word after the verb that is no option.
    bool FindSubVerb() {
        for (std::size_t i = afterVerb_; i < before_.size(); ++i) {
            if (!StartsWith(before_[i], "-")) {
                subVerb_ = before_[i];
                firstArgument_ = i + 1;
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> VerbNames() const {
        std::vector<std::string> names;
        for (const Verb& verb : sources_.verbs) {
            names.push_back(verb.name);
        }
        return names;
    }

    std::vector<std::string> SubVerbs() const {
        std::vector<std::string> names;
        for (const UsageForm& form : forms_) {
            if (!form.subVerb.empty()) {
                names.push_back(form.subVerb);
            }
        }
        return names;
    }

    std::vector<std::string> OptionNames() const {
        std::vector<std::string> names;
        for (const UsageForm& form : forms_) {
            for (const OptionForm& option : form.options) {
                names.push_back(option.name);
            }
        }
        names.emplace_back("--help");
        return names;
    }

    const OptionForm* FindOption(const std::string& name) const {
        for (const UsageForm& form : forms_) {
            for (const OptionForm& option : form.options) {
                if (option.name == name) {
                    return &option;
                }
            }
        }
        return nullptr;
    }

    // How many words before the typed one are arguments of the verb (no options, no values).
    std::size_t CountPositionals() const {
        std::size_t count = 0;
        for (std::size_t i = firstArgument_; i < before_.size(); ++i) {
            if (const OptionForm* option = FindOption(before_[i])) {
                i += option->value.empty() ? 0 : 1;
            } else if (before_[i] == kDataDirOption) {
                ++i;
            } else if (!StartsWith(before_[i], "-")) {
                ++count;
            }
        }
        return count;
    }

    std::string PositionalPlaceholder(std::size_t index) const {
        for (const UsageForm& form : forms_) {
            if (index < form.positionals.size()) {
                return form.positionals[index];
            }
            if (!form.positionals.empty() && form.positionals.back().ends_with("...")) {
                return form.positionals.back();
            }
        }
        return {};
    }

    Completion ValuesOf(const std::string& option, const std::string& placeholder) const {
        const std::string bare = Bare(placeholder);
        if (option == "--field" || bare == "CAPTION") {
            return Matching(sources_.fieldCaptions(), typed_);
        }
        if (verb_->name == kCollectionVerb && bare == "ID") {
            return Matching(sources_.collectionIds(dataDirectory_), typed_);
        }
        if (const auto choices = PlaceholderChoices(placeholder); !choices.empty()) {
            return Matching(choices, typed_);
        }
        const auto names = [&bare](std::initializer_list<std::string_view> words) {
            return std::any_of(words.begin(), words.end(), [&bare](std::string_view w) {
                return ("|" + bare + "|").find("|" + std::string(w) + "|") != std::string::npos;
            });
        };
        if (names({"FILE", "PATH"})) {
            return {CompletionKind::Files, {}};
        }
        if (names({"DIR", "FOLDER", "BASE"})) {
            return {CompletionKind::Folders, {}};
        }
        return {};
    }

    const CompletionSources& sources_;
    std::string typed_;
    std::vector<std::string> before_;
    std::string dataDirectory_;
    const Verb* verb_ = nullptr;
    bool unknownVerb_ = false;
    std::size_t afterVerb_ = 0;
    std::string subVerb_;
    std::size_t firstArgument_ = 0;
    std::vector<UsageForm> forms_;
};

std::vector<std::string> FieldCaptions() {
    std::vector<std::string> captions;
    for (const catalog::CatalogField& field : catalog::CatalogFields) {
        captions.emplace_back(field.caption);
    }
    return captions;
}

// Read from the catalog file as it is: completing a word never makes or upgrades a catalog.
std::vector<std::string> CollectionIds(const std::string& dataDirectory) {
    const std::filesystem::path file =
        std::filesystem::path(platform::DataDirectory(dataDirectory)) /
        catalog::Catalog::kDatabaseFileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return {};
    }
    std::vector<std::string> ids;
    try {
        catalog::Database database(file.string());
        for (const collections::CollectionName& collection :
             collections::ListCollections(database)) {
            ids.push_back(std::to_string(collection.Id));
        }
    } catch (const catalog::EngineError&) {
        // A damaged or foreign file offers no ids; the verb itself will say what is wrong.
    }
    return ids;
}

}  // namespace

Completion CompleteCommandLine(const std::vector<std::string>& words,
                               const CompletionSources& sources) {
    return LineCompleter(words, sources).Complete();
}

int RunCompletion(const std::vector<std::string>& words, std::ostream& out) {
    const Completion completion =
        CompleteCommandLine(words, {AllVerbs(), FieldCaptions, CollectionIds});
    switch (completion.kind) {
        case CompletionKind::Words:
            out << "words\n";
            break;
        case CompletionKind::Files:
            out << "files\n";
            break;
        case CompletionKind::Folders:
            out << "folders\n";
            break;
    }
    for (const std::string& word : completion.words) {
        out << word << '\n';
    }
    return kExitSuccess;
}

}  // namespace sonarchive::cli
