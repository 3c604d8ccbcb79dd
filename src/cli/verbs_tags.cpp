// tag show, tag edit, tag set, tag remove: the tag editor and mass update from the command
// line, on the same catalog and preferences as the desktop program.
#include <charconv>
#include <iostream>
#include <nlohmann/json.hpp>

#include "catalog_store/catalog_rows.h"
#include "cataloguing/volume_identity.h"
#include "cli/verb_arguments.h"
#include "cli/verbs.h"
#include "formats/id3v1.h"
#include "tags/confirmation.h"
#include "tags/mass_update.h"
#include "tags/row_write_back.h"
#include "tags/tag_editor.h"
#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

using catalog::TCommentInfoType;
using nlohmann::ordered_json;
using tags::TagField;

constexpr int kRemoveTagHelpTopic = 18;
constexpr const char* kWriteFailure =
    "Couldn't write to file (maybe the file is in use or it is read only?)";

// The editor's fields in its order, with the option and the name each goes by.
struct EditorField {
    TagField field;
    const char* name;    // as the editor's caption names it
    const char* option;  // of "tag edit"
};
constexpr EditorField kEditorFields[] = {
    {TagField::Title, "Title", "--title"},
    {TagField::Artist, "Artist", "--artist"},
    {TagField::Album, "Album", "--album"},
    {TagField::Track, "Track", "--track"},
    {TagField::Year, "Year", "--year"},
    {TagField::Genre, "Genre", "--genre"},
    {TagField::Comment, "Comment", "--comment"},
    {TagField::Composer, "Composer", "--composer"},
    {TagField::Copyright, "Copyright", "--copyright"},
    {TagField::Encoder, "Encoder", "--encoder"},
    {TagField::Language, "Language", "--language"},
    {TagField::Link, "Link", "--link"},
};

// The tag kinds by the names the options use.
struct TagName {
    const char* name;
    int tagType;
};
constexpr TagName kTagNames[] = {{"id3v1", tags::kTagId3v1},
                                 {"id3v2", tags::kTagId3v2},
                                 {"ogg", tags::kTagOgg},
                                 {"ape", tags::kTagApe}};

std::optional<std::int64_t> WholeNumber(const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The file argument in the program's form: absolute and lexically clean, so that it can be
// matched against the catalog.
std::string FileArgument(const std::vector<std::string>& rest, const std::string& verb) {
    if (rest.size() != 1) {
        throw UsageError{"tag " + verb + " needs exactly one file"};
    }
    return AbsolutePathArgument(rest[0]);
}

std::string Display(const std::string& path) {
    return text::PathForDisplay(path);
}

// Opens the editor's session on the file; nothing, after "File not found (PATH)", when it is
// not there.
std::optional<tags::TagEditorSession> OpenSession(const std::string& path, CliContext& context) {
    tags::TagEditorSession session(path, context.Preferences());
    if (!session.FileExists()) {
        context.User().ShowError("File not found (" + Display(path) + ")");
        return std::nullopt;
    }
    session.DetectTags();
    return session;
}

ordered_json FieldsJson(const TCommentInfoType& values) {
    ordered_json fields;
    for (const EditorField& entry : kEditorFields) {
        if (entry.field == TagField::Track) {
            fields[entry.name] = values.Track;
        } else {
            fields[entry.name] = *tags::TextFieldOf(values, entry.field);
        }
    }
    return fields;
}

std::string FieldText(const TCommentInfoType& values, TagField field) {
    return field == TagField::Track ? std::to_string(values.Track)
                                    : *tags::TextFieldOf(values, field);
}

void PrintJson(const ordered_json& object) {
    std::cout << object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

int Show(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const std::string path = FileArgument(arguments.Rest(), "show");
    const auto session = OpenSession(path, context);
    if (!session) {
        return kExitFailure;
    }
    const TCommentInfoType values = session->LoadEdited();
    const tags::TagPresence& has = session->Presence();
    if (json) {
        ordered_json editable;
        for (const EditorField& entry : kEditorFields) {
            editable[entry.name] = session->Editable(entry.field);
        }
        PrintJson(
            {{"file", path},
             {"tag_type", session->TagType()},
             {"tag_type_label", session->TagTypeLabel()},
             {"fields", FieldsJson(values)},
             {"editable", editable},
             {"tags",
              {{"id3v1", has.id3v1}, {"id3v2", has.id3v2}, {"ape", has.ape}, {"ogg", has.ogg}}}});
        return kExitSuccess;
    }
    std::cout << "Filename: " << Display(path) << "\nTag type: " << session->TagTypeLabel() << "\n";
    for (const EditorField& entry : kEditorFields) {
        std::cout << entry.name << ": " << FieldText(values, entry.field)
                  << (session->Editable(entry.field) ? "" : "  (read-only)") << "\n";
    }
    std::cout << "Tags in the file:";
    for (const TagName& tag : kTagNames) {
        if (has.Has(tag.tagType)) {
            std::cout << ' ' << tag.name;
        }
    }
    std::cout << "\n";
    return kExitSuccess;
}

int TagTypeByName(const std::string& name) {
    for (const TagName& tag : kTagNames) {
        if (name == tag.name) {
            return tag.tagType;
        }
    }
    throw UsageError{"unknown tag \"" + name + "\" (id3v1, id3v2, ogg, ape)"};
}

// The field options of "tag edit", in the editor's order.
using FieldOptions = std::vector<std::pair<const EditorField*, std::string>>;

FieldOptions TakeFieldOptions(Arguments& arguments) {
    FieldOptions given;
    for (const EditorField& entry : kEditorFields) {
        if (auto value = arguments.TakeOption(entry.option)) {
            if (entry.field == TagField::Track && !WholeNumber(*value)) {
                throw UsageError{"--track needs a whole number"};
            }
            given.emplace_back(&entry, std::move(*value));
        }
    }
    return given;
}

// The given fields put into the loaded ones; a refusal, when the edited tag cannot take one,
// says why.
std::string ApplyFieldOptions(const FieldOptions& given, const tags::TagEditorSession& session,
                              TCommentInfoType& values) {
    for (const auto& [entry, value] : given) {
        if (!session.Editable(entry->field)) {
            return std::string(entry->name) + " cannot be changed in the edited tag (" +
                   session.TagTypeLabel() + ")";
        }
        if (entry->field == TagField::Track) {
            const std::int64_t track = *WholeNumber(value);
            if (!tags::TrackFits(session.TagType(), track)) {
                return "the track number " + value + " does not fit the edited tag (" +
                       session.TagTypeLabel() + ")";
            }
            values.Track = static_cast<std::int32_t>(track);
            continue;
        }
        if (entry->field == TagField::Genre && session.GenreListOnly() && !value.empty() &&
            formats::GenreIndexOf(value) < 0) {
            return "\"" + value + "\" is not in the genre list of the edited tag (Id3v1)";
        }
        *tags::TextFieldOf(values, entry->field) = value;
    }
    return {};
}

// The catalog row of the file, by its volume's identity; -1 when it is not catalogued.
std::int64_t CatalogRowOf(catalog::Catalog& catalog, const std::string& path, CliContext& context) {
    const auto identity = cataloguing::VolumeIdentityOf(context.Mounts(), context.Rules(), path);
    if (identity.problem != cataloguing::IdentityProblem::None) {
        return -1;
    }
    return catalog::FindFileId(catalog.Engine(), context.Rules(), path, identity.identity.serial);
}

int Edit(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const std::optional<std::string> import = arguments.TakeOption("--import");
    const int importType = import ? TagTypeByName(*import) : tags::kTagNone;
    const FieldOptions given = TakeFieldOptions(arguments);
    const std::string path = FileArgument(arguments.Rest(), "edit");
    auto session = OpenSession(path, context);
    if (!session) {
        return kExitFailure;
    }
    if (import && !session->ImportCommand(importType).Available()) {
        context.User().ShowError("Import from " + *import + " is not available for this file");
        return kExitFailure;
    }
    TCommentInfoType values = session->Load(import ? importType : session->TagType());
    if (session->GenreListOnly() && formats::GenreIndexOf(values.Genre) < 0) {
        values.Genre.clear();  // the genre list selects nothing: the file's genre byte stays
    }
    if (const std::string refusal = ApplyFieldOptions(given, *session, values); !refusal.empty()) {
        context.User().ShowError(refusal + "; the file was not changed");
        return kExitFailure;
    }
    const tags::TagWriteResult written = session->Update(values);
    if (!written) {
        context.User().ShowError(std::string(kWriteFailure) + ": " + written.reason);
        return kExitFailure;
    }
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    const std::int64_t id = CatalogRowOf(*catalog, path, context);
    const auto readBack = id >= 0
                              ? tags::WriteBackEditedTags(*catalog, id, path, session->TagType())
                              : tags::ReadTagOfType(path, session->TagType());
    if (!readBack) {
        context.User().ShowError("Couldn't read file: " + Display(path));
        return kExitFailure;
    }
    if (json) {
        PrintJson({{"file", path},
                   {"tag_type", session->TagType()},
                   {"tag", FieldsJson(*readBack)},
                   {"Id", id >= 0 ? ordered_json(id) : ordered_json(nullptr)}});
    } else {
        std::cout << "Tag written (" << session->TagTypeLabel() << "): " << Display(path) << "\n"
                  << (id >= 0 ? "Archive row " + std::to_string(id) + " updated"
                              : std::string("The file is not in the archive"))
                  << "\n";
    }
    return kExitSuccess;
}

int Remove(Arguments& arguments, CliContext& context) {
    std::vector<int> chosen;
    for (const TagName& tag : kTagNames) {
        if (tag.tagType != tags::kTagOgg && arguments.TakeFlag(std::string("--") + tag.name)) {
            chosen.push_back(tag.tagType);
        }
    }
    if (chosen.size() != 1) {
        throw UsageError{"tag remove needs one of --id3v1, --id3v2, --ape"};
    }
    const int tagType = chosen.front();
    const std::string path = FileArgument(arguments.Rest(), "remove");
    auto session = OpenSession(path, context);
    if (!session) {
        return kExitFailure;
    }
    const tags::TagCommand command = session->RemoveCommand(tagType);
    if (!command.Available()) {
        context.User().ShowError(
            (command.visible
                 ? "The file has no " + tags::TagTypeName(tagType) + " tag: "
                 : tags::TagTypeName(tagType) + " tags cannot be removed from this file: ") +
            Display(path));
        return kExitFailure;
    }
    if (!tags::ConfirmUnderSetting(context.User(), context.Registry(), context.General(),
                                   &catalog::GeneralSettings::ConfirmDeleteTag, "Remove tag?",
                                   kRemoveTagHelpTopic)) {
        return kExitFailure;
    }
    if (!session->Remove(tagType)) {
        context.User().ShowError("Couldn't remove the tag: " + session->RemoveError());
        return kExitFailure;
    }
    std::cout << "Removed the " << tags::TagTypeName(tagType) << " tag of " << Display(path)
              << "\n";
    return kExitSuccess;
}

// The ids of "tag set"; at least one, each a whole number.
catalog::IdList IdArguments(const std::vector<std::string>& words) {
    catalog::IdList ids;
    for (const std::string& word : words) {
        const auto id = WholeNumber(word);
        if (!id) {
            throw UsageError{"\"" + word + "\" is no id"};
        }
        ids.push_back(*id);
    }
    if (ids.empty()) {
        throw UsageError{"tag set needs the ids of the rows to update"};
    }
    return ids;
}

ordered_json RowJson(const tags::MassUpdateRowResult& row) {
    return {{"Id", row.id},
            {"path", row.path},
            {"tag_written", row.tagWritten},
            {"catalog_updated", row.catalogUpdated},
            {"message", row.message.empty() ? ordered_json(nullptr) : ordered_json(row.message)}};
}

int Set(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    const bool synchronised = arguments.TakeFlag("--sync");
    const std::optional<std::string> fieldName = arguments.TakeOption("--field");
    const std::optional<std::string> value = arguments.TakeOption("--value");
    if (!fieldName || !value) {
        throw UsageError{"tag set needs --field and --value"};
    }
    const auto fieldIndex = tags::FindMassUpdateField(*fieldName);
    if (!fieldIndex) {
        throw UsageError{"unknown field \"" + *fieldName + "\""};
    }
    const tags::MassUpdateField& field = tags::MassUpdateFields()[*fieldIndex];
    std::int64_t number = 0;
    if (field.IsNumber()) {
        const auto parsed = WholeNumber(*value);
        if (!parsed || *parsed < 0 || *parsed > tags::LargestNumberOf(field)) {
            throw UsageError{field.caption + " needs a whole number from 0 to " +
                             std::to_string(tags::LargestNumberOf(field))};
        }
        number = *parsed;
    }
    const catalog::IdList ids = IdArguments(arguments.Rest());
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    tags::TagMassUpdate update(*catalog, context.Rules(), context.User(), context.Registry(),
                               context.General());
    update.Load(ids);
    if (update.Rows().empty()) {
        context.User().ShowError("None of the ids is in the archive");
        return kExitFailure;
    }
    std::ostream& lines = json ? std::cerr : std::cout;
    const tags::ModifyReport report = update.Modify(
        fieldIndex, field.IsNumber() ? std::string() : *value, number, synchronised,
        {nullptr, nullptr, nullptr, [&lines](const std::string& line) { lines << line << '\n'; }});
    if (report.outcome == tags::ModifyOutcome::Declined) {
        return kExitFailure;
    }
    if (json) {
        for (const tags::MassUpdateRowResult& row : report.rows) {
            PrintJson(RowJson(row));
        }
    }
    lines << "Tags written: " << report.TagsWritten() << " of " << report.rows.size() << "\n";
    const bool leftOut = std::any_of(report.rows.begin(), report.rows.end(),
                                     [](const auto& row) { return !row.catalogUpdated; });
    return leftOut || report.outcome == tags::ModifyOutcome::Cancelled ? kExitFailure
                                                                       : kExitSuccess;
}

}  // namespace

void AddTagVerbs(std::vector<Verb>& verbs) {
    verbs.push_back(
        {"tag", "show, edit, set or remove tags",
         "Usage: sonarchive-cli tag show [--json] FILE\n"
         "       sonarchive-cli tag edit [--import id3v1|id3v2|ogg|ape] [--title V] [--artist V]\n"
         "                      [--album V] [--track N] [--year V] [--genre V] [--comment V]\n"
         "                      [--composer V] [--copyright V] [--encoder V] [--language V]\n"
         "                      [--link V] [--json] FILE\n"
         "       sonarchive-cli [--yes] tag set --field F --value V [--sync] [--json] ID...\n"
         "       sonarchive-cli [--yes] tag remove --id3v1|--id3v2|--ape FILE\n\n"
         "show: the tag the editor edits (chosen by the file's format and the preferences),\n"
         "its twelve fields, which of them can be changed, and which tags the file has.\n"
         "edit: loads the edited tag (or, with --import, another tag of the file), changes\n"
         "the fields given and writes the tag; a field the tag cannot hold, a genre outside\n"
         "the ID3v1 list or a track number out of range is refused and the file is left\n"
         "alone. A catalogued file gets its row rewritten from the tag as written.\n"
         "set: sets field F (a caption or column name: Album, dAlbum, ...) to V in the tags\n"
         "and rows of the ids; V is a whole number for Track (0 to 32000) and Year (0 to\n"
         "9999). Every row gets the value even where its tag could not be written, unless\n"
         "--sync keeps tag and row together. Asks \"Update N files?\" first (--yes answers).\n"
         "remove: removes one tag from the file after asking \"Remove tag?\"; the archive is\n"
         "not changed. With --json one JSON object per line.\n",
         [](Arguments& arguments, CliContext& context) {
             std::vector<std::string> words = arguments.Words();
             const std::string name = words.empty() ? std::string() : words.front();
             if (name != "show" && name != "edit" && name != "set" && name != "remove") {
                 throw UsageError{"tag needs show, edit, set or remove"};
             }
             Arguments sub(std::vector<std::string>(words.begin() + 1, words.end()));
             if (name == "show") {
                 return Show(sub, context);
             }
             if (name == "edit") {
                 return Edit(sub, context);
             }
             if (name == "set") {
                 return Set(sub, context);
             }
             return Remove(sub, context);
         }});
}

}  // namespace sonarchive::cli
