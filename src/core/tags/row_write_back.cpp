#include "tags/row_write_back.h"

#include "catalog_store/catalog_writer.h"
#include "catalog_store/sql_text.h"
#include "cataloguing/record_builder.h"
#include "tags/tag_types.h"

namespace sonarchive::tags {
namespace {

using catalog::TCommentInfoType;

std::string QuotedColumn(TagField field, const TCommentInfoType& values) {
    return std::string(ColumnOf(field)) + "='" +
           catalog::SqlQuote(
               catalog::TruncateText(*TextFieldOf(values, field), ColumnWidthOf(field))) +
           "'";
}

}  // namespace

bool CanEditTags(const catalog::PathRules& rules, int formatCode, std::string_view serial,
                 std::string_view storedPath) {
    const bool editableFormat = formatCode == catalog::kFormatMp3 ||
                                formatCode == catalog::kFormatOgg ||
                                formatCode == catalog::kFormatMonkey;
    return editableFormat && !rules.BuildFullPath(serial, storedPath).empty();
}

std::optional<TCommentInfoType> ReadTagOfType(const std::string& path, int tagType) {
    TCommentInfoType values;
    bool read = false;
    switch (tagType) {
        case kTagId3v2:
            read = cataloguing::ReadID3v2Tag(path, values);
            break;
        case kTagOgg:
            read = cataloguing::ReadOggTag(path, values);
            break;
        case kTagId3v1:
            read = cataloguing::ReadID3v1Tag(path, values);
            break;
        case kTagApe:
            read = cataloguing::ReadAPETag(path, values);
            break;
        default:
            break;
    }
    return read ? std::optional(values) : std::nullopt;
}

std::string EditRowTagsStatement(int tagType, const TCommentInfoType& values, std::int64_t id) {
    const std::int64_t year = catalog::ClampInt(catalog::CatalogYear(values.Year), kSmallIntLimit);
    const std::int64_t track = catalog::ClampInt(values.Track, kSmallIntLimit);
    std::string sql = "update maindata set dYear=" + std::to_string(year) + "," +
                      "dTrack=" + std::to_string(track);
    for (const TagField field :
         {TagField::Title, TagField::Artist, TagField::Album, TagField::Comment, TagField::Genre}) {
        sql += "," + QuotedColumn(field, values);
    }
    if (tagType == kTagId3v2 || tagType == kTagApe) {
        sql += "," + QuotedColumn(TagField::Copyright, values);
    }
    if (tagType == kTagId3v2) {
        for (const TagField field :
             {TagField::Encoder, TagField::Composer, TagField::Language, TagField::Link}) {
            sql += "," + QuotedColumn(field, values);
        }
    }
    return sql + " where id =" + std::to_string(id);
}

std::optional<TCommentInfoType> WriteBackEditedTags(catalog::Catalog& catalog, std::int64_t id,
                                                    const std::string& fileName, int tagType) {
    const auto values = ReadTagOfType(fileName, tagType);
    if (!values) {
        return std::nullopt;
    }
    catalog.Engine().Execute(EditRowTagsStatement(tagType, *values, id));
    catalog.Events().Notify(catalog::CatalogChange::PickListsStale);
    return values;
}

}  // namespace sonarchive::tags
