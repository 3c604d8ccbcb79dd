#include "tags/tag_types.h"

#include <array>

#include "catalog_store/sql_text.h"

namespace sonarchive::tags {
namespace {

using catalog::TCommentInfoType;
using catalog::TMainDataRecComplete;

struct FieldEntry {
    TagField field;
    std::string_view selector;
    std::string_view column;
    std::size_t width;  // of the text column; 0 for the number columns
    // Which tag types hold the field: ID3v2, Ogg tag, ID3v1, APE.
    std::array<bool, 4> heldBy;
    // The field's text in the two records; none for the numbers.
    std::string TCommentInfoType::*value;
    std::string TMainDataRecComplete::*rowText;
};

// clang-format off
constexpr std::array<FieldEntry, kTagFieldCount> kFields = {{
    {TagField::Title,     "DTITLE",     "dTitle",      50, {true, true,  true,  true},
     &TCommentInfoType::Title,     &TMainDataRecComplete::dTitle},
    {TagField::Artist,    "DARTIST",    "dArtist",     50, {true, true,  true,  true},
     &TCommentInfoType::Artist,    &TMainDataRecComplete::dArtist},
    {TagField::Album,     "DALBUM",     "dAlbum",      50, {true, true,  true,  true},
     &TCommentInfoType::Album,     &TMainDataRecComplete::dAlbum},
    {TagField::Comment,   "DCOMMENT",   "dComment",   250, {true, true,  true,  true},
     &TCommentInfoType::Comment,   &TMainDataRecComplete::dComment},
    {TagField::Genre,     "DGENRE",     "dGenre",      25, {true, true,  true,  true},
     &TCommentInfoType::Genre,     &TMainDataRecComplete::dGenre},
    {TagField::Track,     "DTRACK",     "dTrack",       0, {true, true,  true,  true},
     nullptr,                      nullptr},
    {TagField::Year,      "DYEAR",      "dYear",        0, {true, false, true,  true},
     &TCommentInfoType::Year,      nullptr},
    {TagField::Copyright, "DCOPYRIGHT", "dCopyright",  50, {true, false, false, true},
     &TCommentInfoType::Copyright, &TMainDataRecComplete::dCopyright},
    {TagField::Composer,  "DCOMPOSER",  "dComposer",   50, {true, false, false, false},
     &TCommentInfoType::Composer,  &TMainDataRecComplete::dComposer},
    {TagField::Encoder,   "DENCODER",   "dEncoder",    50, {true, false, false, false},
     &TCommentInfoType::Encoder,   &TMainDataRecComplete::dEncoder},
    {TagField::Language,  "DLANGUAGE",  "dLanguage",   25, {true, false, false, false},
     &TCommentInfoType::Language,  &TMainDataRecComplete::dLanguage},
    {TagField::Link,      "DLINK",      "dLink",      100, {true, false, false, false},
     &TCommentInfoType::Link,      &TMainDataRecComplete::dLink},
}};
// clang-format on

const FieldEntry& EntryOf(TagField field) {
    return kFields[static_cast<std::size_t>(field)];
}

}  // namespace

std::string TagTypeName(int tagType) {
    switch (tagType) {
        case kTagId3v2:
            return "Id3v2";
        case kTagOgg:
            return "Ogg tag";
        case kTagId3v1:
            return "Id3v1";
        case kTagApe:
            return "Ape v1.0";
        default:
            return {};
    }
}

int PrimaryTagType(int formatCode, const cataloguing::TagPreferences& preferences) {
    switch (formatCode) {
        case catalog::kFormatMp3:
            return preferences.mp3PrimaryTag == 0 ? kTagId3v2 : kTagId3v1;
        case catalog::kFormatOgg:
            return preferences.oggUseId3 ? kTagId3v2 : kTagOgg;
        case catalog::kFormatMonkey:
            switch (preferences.macPrimaryTag) {
                case 0:
                    return kTagApe;
                case 1:
                    return kTagId3v1;
                case 2:
                    return kTagId3v2;
                default:
                    return kTagNone;
            }
        default:
            return kTagNone;
    }
}

std::string_view SelectorOf(TagField field) {
    return EntryOf(field).selector;
}

std::optional<TagField> FieldOfSelector(std::string_view selector) {
    for (const FieldEntry& entry : kFields) {
        if (entry.selector == selector) {
            return entry.field;
        }
    }
    return std::nullopt;
}

std::string_view ColumnOf(TagField field) {
    return EntryOf(field).column;
}

std::size_t ColumnWidthOf(TagField field) {
    return EntryOf(field).width;
}

bool TagTypeSupports(int tagType, TagField field) {
    if (tagType < kTagId3v2 || tagType > kTagApe) {
        return false;
    }
    return EntryOf(field).heldBy[static_cast<std::size_t>(tagType)];
}

bool FieldSupported(int formatCode, std::string_view selector,
                    const cataloguing::TagPreferences& preferences) {
    const auto field = FieldOfSelector(selector);
    return field && TagTypeSupports(PrimaryTagType(formatCode, preferences), *field);
}

std::string* TextFieldOf(TCommentInfoType& values, TagField field) {
    const auto member = EntryOf(field).value;
    return member != nullptr ? &(values.*member) : nullptr;
}

const std::string* TextFieldOf(const TCommentInfoType& values, TagField field) {
    const auto member = EntryOf(field).value;
    return member != nullptr ? &(values.*member) : nullptr;
}

const std::string* RowTextOf(const TMainDataRecComplete& row, TagField field) {
    const auto member = EntryOf(field).rowText;
    return member != nullptr ? &(row.*member) : nullptr;
}

bool TrackFits(int tagType, std::int64_t track) {
    const std::int64_t largest = tagType == kTagId3v1 || tagType == kTagApe ? 255 : 65535;
    return track >= 0 && track <= largest;
}

}  // namespace sonarchive::tags
