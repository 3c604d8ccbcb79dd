// inspect: what the record builder reads from files, without touching the catalog.
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "catalog_store/sql_text.h"
#include "cataloguing/record_builder.h"
#include "cataloguing/technical_panels.h"
#include "cli/verbs.h"
#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

using Json = nlohmann::ordered_json;

Json TagsJson(const catalog::TCommentInfoType& t) {
    return {{"Title", t.Title},         {"Artist", t.Artist},     {"Album", t.Album},
            {"Year", t.Year},           {"Comment", t.Comment},   {"Track", t.Track},
            {"Genre", t.Genre},         {"Composer", t.Composer}, {"Encoder", t.Encoder},
            {"Copyright", t.Copyright}, {"Language", t.Language}, {"Link", t.Link}};
}

Json StreamJson(const catalog::TEncoderInfoType& s) {
    return {{"Version", s.Version},         {"Layer", s.Layer},
            {"Bitrate", s.Bitrate},         {"SampleRate", s.SampleRate},
            {"ChannelMode", s.ChannelMode}, {"EncoderName", s.EncoderName},
            {"Duration", s.Duration},       {"Frames", s.Frames},
            {"CRC", s.CRC},                 {"Copyright", s.Copyright},
            {"Original", s.Original},       {"Emphasis", s.Emphasis}};
}

// The fields one tag reader fills on its own, or null when the file has no such tag.
Json TagOfType(const std::string& path,
               bool (*reader)(const std::string&, catalog::TCommentInfoType&),
               std::initializer_list<const char*> fields) {
    catalog::TCommentInfoType tags;
    if (!reader(path, tags)) {
        return nullptr;
    }
    const Json all = TagsJson(tags);
    Json some = Json::object();
    for (const char* field : fields) {
        some[field] = all[field];
    }
    return some;
}

Json TagsByType(const std::string& path) {
    Json byType;
    byType["id3v1"] = TagOfType(path, cataloguing::ReadID3v1Tag,
                                {"Title", "Artist", "Album", "Year", "Comment", "Track", "Genre"});
    byType["id3v2"] = TagOfType(path, cataloguing::ReadID3v2Tag,
                                {"Title", "Artist", "Album", "Year", "Comment", "Track", "Genre",
                                 "Composer", "Encoder", "Copyright", "Language", "Link"});
    if (!byType["id3v2"].is_null()) {
        formats::TID3v2 tag;
        tag.Read(path);
        byType["id3v2"]["Version"] = tag.Version();
    }
    byType["ape"] = TagOfType(path, cataloguing::ReadAPETag,
                              {"Title", "Artist", "Album", "Year", "Comment", "Track", "Genre",
                               "Copyright"});
    if (!byType["ape"].is_null()) {
        formats::TAPEtag tag;
        tag.Read(path);
        byType["ape"]["Version"] = tag.Version();
    }
    byType["ogg"] = TagOfType(path, cataloguing::ReadOggTag,
                              {"Title", "Artist", "Album", "Comment", "Track", "Genre"});
    return byType;
}

// The stream figures as a list row would hold them, for the technical panel texts.
catalog::TMainDataRec AsListRecord(int format, const catalog::TEncoderInfoType& s) {
    catalog::TMainDataRec r;
    r.dFormat = format;
    cataloguing::CopyStreamInto(s, r);
    return r;
}

void PrintText(const std::string& path, int format, bool valid,
               const catalog::TCommentInfoType& tags, const catalog::TEncoderInfoType& stream) {
    std::cout << text::PathForDisplay(path) << "\n  Valid: " << (valid ? "yes" : "no") << "\n";
    const Json fields = TagsJson(tags);
    for (const auto& [name, value] : fields.items()) {
        if (!(value.is_string() && value.get<std::string>().empty()) &&
            !(value.is_number() && value.get<int>() == 0)) {
            std::cout << "  " << name << ": "
                      << (value.is_string() ? value.get<std::string>() : value.dump()) << "\n";
        }
    }
    for (const auto& line : cataloguing::TechnicalPanelFor(AsListRecord(format, stream)).lines) {
        std::cout << "  " << line.caption << ": " << line.value << "\n";
    }
}

int Inspect(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const std::vector<std::string> files = arguments.Rest();
    if (files.empty()) {
        throw UsageError{"inspect needs at least one file"};
    }
    int status = kExitSuccess;
    for (const auto& path : files) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(text::PathToSystem(path), error)) {
            std::cerr << "File not found \"" << text::PathForDisplay(path) << "\"\n";
            status = kExitFailure;
            continue;
        }
        const int code = catalog::FormatCodeOf(path);
        catalog::TCommentInfoType tags;
        catalog::TEncoderInfoType stream;
        const bool valid = code != catalog::kFormatOther &&
                           cataloguing::ReadFileOfFormat(path, code, context.Preferences(), tags,
                                                         stream);
        if (!json) {
            PrintText(path, code, valid, tags, stream);
            continue;
        }
        const Json object = {{"path", path},
                             {"format", code == catalog::kFormatOther ? -1 : code},
                             {"valid", valid},
                             {"tags", TagsJson(tags)},
                             {"stream", StreamJson(stream)},
                             {"tags_by_type", TagsByType(path)}};
        std::cout << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    }
    return status;
}

}  // namespace

void AddInspectVerb(std::vector<Verb>& verbs) {
    verbs.push_back(
        {"inspect", "show what is read from audio files (tags and stream)",
         "Usage: sonarchive-cli inspect [--json] FILE...\n\n"
         "Reads each file as adding it would, under the current tag preferences, without\n"
         "touching the archive. With --json, one object per line with \"path\", \"format\"\n"
         "(-1 for files of no audio format), \"valid\", \"tags\", \"stream\" and \"tags_by_type\"\n"
         "(id3v1, id3v2, ape, ogg: null or what that tag holds).\n",
         Inspect});
}

}  // namespace sonarchive::cli
