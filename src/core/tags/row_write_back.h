// The catalog row of a file whose tag the editor wrote: which rows may be edited, and the row
// written from the tag as it reads back from the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "catalog_store/records.h"

namespace sonarchive::tags {

// A row's file can have its tags edited when it is an MP3, Ogg Vorbis or Monkey's Audio file
// that can be opened now (its volume mounted, or its network share reachable through a mount).
bool CanEditTags(const catalog::PathRules& rules, int formatCode, std::string_view serial,
                 std::string_view storedPath);

// The tag of `tagType` as the file holds it, in a fresh record: the texts of the tag readers
// of the record builder. Nothing when the tag is not there or cannot be read. `fileName` is in
// the program's form.
std::optional<catalog::TCommentInfoType> ReadTagOfType(const std::string& fileName, int tagType);

// "update maindata set dYear=..., dTrack=..., dTitle='...', ... where id =ID": the fields the
// tag type holds, stored as an insert stores them (texts cut to their columns, the year as a
// number or 0, numbers clamped to the columns' range).
std::string EditRowTagsStatement(int tagType, const catalog::TCommentInfoType& values,
                                 std::int64_t id);

// After the editor wrote `tagType` into the file of row `id`: reads that tag back, writes the
// row from it and marks the search pick lists stale. Answers the values read; nothing, with
// the row left as it was, when the tag cannot be read back.
std::optional<catalog::TCommentInfoType> WriteBackEditedTags(catalog::Catalog& catalog,
                                                             std::int64_t id,
                                                             const std::string& fileName,
                                                             int tagType);

}  // namespace sonarchive::tags
