// The tag kinds a file's texts are written into, which of them a file's format writes by the
// user's preferences, and which fields each kind can hold.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "catalog_store/records.h"
#include "cataloguing/record_builder.h"

namespace sonarchive::tags {

// Tag type codes.
constexpr int kTagNone = -1;
constexpr int kTagId3v2 = 0;
constexpr int kTagOgg = 1;  // the Vorbis comment of an Ogg file
constexpr int kTagId3v1 = 2;
constexpr int kTagApe = 3;

// "Id3v2", "Ogg tag", "Id3v1", "Ape v1.0"; empty text for any other code.
std::string TagTypeName(int tagType);

// The tag a file of this format is written into: MP3 by MP3_PRIMARY_TAG (0 ID3v2, any other
// value ID3v1), Ogg by OGG_USE_ID3 (ID3v2 or the Vorbis comment), Monkey's Audio by
// MAC_PRIMARY_TAG (0 APE, 1 ID3v1, 2 ID3v2); kTagNone for other values and formats.
int PrimaryTagType(int formatCode, const cataloguing::TagPreferences& preferences);

// The twelve fields a tag may hold, in the order of their selectors.
enum class TagField {
    Title,
    Artist,
    Album,
    Comment,
    Genre,
    Track,
    Year,
    Copyright,
    Composer,
    Encoder,
    Language,
    Link,
};
constexpr int kTagFieldCount = 12;

// The selector of a field: its catalog column upper-cased ("DTITLE" ... "DLINK").
std::string_view SelectorOf(TagField field);
// The field of a selector (compared as given); nothing for any other text.
std::optional<TagField> FieldOfSelector(std::string_view selector);
// The catalog column of a field ("dTitle" ... "dLink").
std::string_view ColumnOf(TagField field);
// The characters the column stores of a text field; 0 for Track and Year, which are numbers.
std::size_t ColumnWidthOf(TagField field);

// The range the catalog's 16-bit columns (dTrack, dYear) are clamped to.
constexpr std::int64_t kSmallIntLimit = 32000;

// Whether a tag of this type holds the field; false for every field of kTagNone.
bool TagTypeSupports(int tagType, TagField field);

// Whether the primary tag of files of this format holds the selected field; false for a
// format without primary tag and for an unknown selector.
bool FieldSupported(int formatCode, std::string_view selector,
                    const cataloguing::TagPreferences& preferences);

// The text of a field in the record; Track has none (its number is the record's Track).
std::string* TextFieldOf(catalog::TCommentInfoType& values, TagField field);
const std::string* TextFieldOf(const catalog::TCommentInfoType& values, TagField field);
// The text column of a field in a catalog row; none for Track and Year, which are numbers.
const std::string* RowTextOf(const catalog::TMainDataRecComplete& row, TagField field);

// The track numbers a tag of this type can hold: 0 to 255 for ID3v1 and APE, 0 to 65535 for
// ID3v2 and the Vorbis comment.
bool TrackFits(int tagType, std::int64_t track);

}  // namespace sonarchive::tags
