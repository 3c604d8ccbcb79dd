#include "organize/duplicates.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "catalog_store/date_time.h"
#include "cataloguing/reachable_files.h"
#include "organize/audio_signature.h"
#include "organize/file_format.h"
#include "text/text.h"

namespace sonarchive::organize {
namespace {

constexpr const char* kLastMethodValue = "LAST_DUPLACTE_SEARCH_METHOD";

// The order of the first statement: the first ticked field, by precedence.
std::string OrderOf(const DuplicateFields& f) {
    if (f.artist) {
        return " order by dartist desc";
    }
    if (f.title) {
        return " order by dtitle desc";
    }
    if (f.album) {
        return " order by dalbum desc";
    }
    return f.track ? " order by dtrack" : " order by dfilesize";
}

// Texts are compared as SqlQuote would send them: cut at a NUL, upper-cased.
void AppendText(std::string& key, std::string_view text) {
    const std::string upper = text::UpperCase(text.substr(0, text.find('\0')));
    key += std::to_string(upper.size()) + ":" + upper;
}

std::string GroupKey(const TDupTagRec& r, const DuplicateFields& f) {
    std::string key;
    if (f.title) {
        AppendText(key, r.Title);
    }
    if (f.artist) {
        AppendText(key, r.Artist);
    }
    if (f.album) {
        AppendText(key, r.Album);
    }
    if (f.track) {
        key += "t" + std::to_string(r.Track);
    }
    if (f.size) {
        key += "s" + std::to_string(r.FileSize);
    }
    return key;
}

// Numbers the groups of two rows or more, in the order given, their rows by id.
DuplicateSearch Numbered(std::vector<std::vector<std::int64_t>> groups) {
    DuplicateSearch search;
    int number = 0;
    for (auto& group : groups) {
        if (group.size() < 2) {
            continue;
        }
        ++number;
        std::sort(group.begin(), group.end());
        for (const std::int64_t id : group) {
            search.rows.push_back({id, number});
        }
    }
    return search;
}

class FileSignatures : public SignatureSource {
public:
    explicit FileSignatures(const std::vector<cataloguing::ReachableFile>& files) : files_(files) {}
    std::size_t Count() const override { return files_.size(); }
    std::string Signature(std::size_t index) override {
        return ReadSignature(files_[index].FullPath);
    }

private:
    const std::vector<cataloguing::ReachableFile>& files_;
};

}  // namespace

const std::vector<std::string>& DuplicateMethodNames() {
    static const std::vector<std::string> names = {
        "Bit pattern (slow)",       "Filename",       "Size", "Tag - Artist/Title",
        "Tag - Artist/Title/Album", "Tag - Custom..."};
    return names;
}

int ReadLastDuplicateMethod(catalog::Registry& registry) {
    const std::int64_t stored = registry.ReadRegInteger(kLastMethodValue);
    return stored >= 0 && stored < static_cast<std::int64_t>(DuplicateMethodNames().size())
               ? static_cast<int>(stored)
               : 0;
}

void WriteLastDuplicateMethod(catalog::Registry& registry, int method) {
    registry.WriteRegInteger(kLastMethodValue, method);
}

DuplicateFields FieldsOfMethod(DuplicateMethod method) {
    DuplicateFields fields;
    switch (method) {
        case DuplicateMethod::Size:
            fields.size = true;
            break;
        case DuplicateMethod::ArtistTitleAlbum:
            fields.album = true;
            [[fallthrough]];
        case DuplicateMethod::ArtistTitle:
            fields.artist = true;
            fields.title = true;
            break;
        default:
            break;
    }
    return fields;
}

DuplicateSearch FindTagDuplicates(catalog::Database& database, const DuplicateFields& fields,
                                  Interaction& interaction,
                                  const std::function<void(std::size_t)>& found) {
    if (!fields.Any()) {
        return {};
    }
    std::vector<TDupTagRec> records;
    catalog::Query rows(
        database,
        "select id, dtitle, dartist, dalbum, dtrack, dfilesize from maindata" + OrderOf(fields));
    for (; !rows.AtEnd(); rows.Next()) {
        records.push_back({static_cast<std::int32_t>(rows[0].AsInteger()),
                           static_cast<std::int32_t>(rows[4].AsInteger()),
                           static_cast<std::int32_t>(rows[5].AsInteger()), rows[1].AsText(),
                           rows[2].AsText(), rows[3].AsText()});
    }
    // Equality is transitive, so grouping in memory gives the groups a statement per record
    // would, in the same order.
    interaction.SetProgressMaximum(static_cast<int>(records.size()));
    std::unordered_map<std::string, std::size_t> groupOfKey;
    std::vector<std::vector<std::int64_t>> groups;
    std::size_t listed = 0;
    bool cancelled = false;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (interaction.CancelRequested()) {
            cancelled = true;
            break;
        }
        const auto [entry, isNew] = groupOfKey.emplace(GroupKey(records[i], fields), groups.size());
        if (isNew) {
            groups.emplace_back();
        }
        auto& group = groups[entry->second];
        group.push_back(records[i].Id);
        listed += group.size() == 2 ? 2 : group.size() > 2 ? 1 : 0;
        if (found) {
            found(listed);
        }
        interaction.SetProgressPosition(static_cast<int>(i + 1));
        interaction.ProcessPendingEvents();
    }
    DuplicateSearch search = Numbered(std::move(groups));
    search.cancelled = cancelled;
    return search;
}

DuplicateSearch FindFileNameDuplicates(catalog::Database& database) {
    std::map<std::string, std::vector<std::int64_t>> byName;
    for (catalog::Query rows(database, "select id, dPath from maindata"); !rows.AtEnd();
         rows.Next()) {
        byName[text::UpperCase(LastPathComponent(rows[1].AsText()))].push_back(rows[0].AsInteger());
    }
    std::vector<std::vector<std::int64_t>> groups;
    for (auto& [name, ids] : byName) {
        groups.push_back(std::move(ids));
    }
    return Numbered(std::move(groups));
}

DuplicateSearch FindBitPatternDuplicates(catalog::Database& database,
                                         const catalog::PathRules& rules,
                                         const platform::LocalDriveList& drives,
                                         const std::vector<std::string>& reachableHosts,
                                         Interaction& interaction,
                                         const BitPatternProgress& progress) {
    const std::vector<cataloguing::ReachableFile> files =
        cataloguing::ReachableFiles(database, rules, drives, reachableHosts);
    FileSignatures signatures(files);
    DuplicateSearch search;
    search.started = catalog::NowDateTime();
    const BitPatternResult result = FastBitPatternSearch(signatures, interaction, progress);
    search.ended = catalog::NowDateTime();
    search.comparisons = result.comparisons;
    search.cancelled = result.cancelled;
    int number = 0;
    for (const auto& group : result.groups) {
        ++number;
        for (const std::size_t index : group) {
            search.rows.push_back({files[index].Id, number});
        }
    }
    return search;
}

}  // namespace sonarchive::organize
