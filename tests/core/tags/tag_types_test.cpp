#include "tags/tag_types.h"

#include <gtest/gtest.h>

#include "catalog_store/sql_text.h"
#include "tags/tag_editor.h"

namespace sonarchive::tags {
namespace {

using cataloguing::TagPreferences;

TEST(TagTypes, NamesAndThePrimaryTagOfEachFormat) {
    EXPECT_EQ(TagTypeName(kTagId3v2), "Id3v2");
    EXPECT_EQ(TagTypeName(kTagOgg), "Ogg tag");
    EXPECT_EQ(TagTypeName(kTagId3v1), "Id3v1");
    EXPECT_EQ(TagTypeName(kTagApe), "Ape v1.0");
    EXPECT_EQ(TagTypeName(kTagNone), "");
    EXPECT_EQ(TagTypeName(4), "");

    const TagPreferences defaults;
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMp3, defaults), kTagId3v2);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatOgg, defaults), kTagOgg);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMonkey, defaults), kTagApe);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatWav, defaults), kTagNone);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatOther, defaults), kTagNone);

    // Any MP3 value but 0 prefers ID3v1; Monkey's Audio knows 0, 1 and 2 only.
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMp3, {1, 0, false}), kTagId3v1);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMp3, {5, 0, false}), kTagId3v1);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMp3, {-1, 0, false}), kTagId3v1);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatOgg, {0, 0, true}), kTagId3v2);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMonkey, {0, 1, false}), kTagId3v1);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMonkey, {0, 2, false}), kTagId3v2);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMonkey, {0, 7, false}), kTagNone);
    EXPECT_EQ(PrimaryTagType(catalog::kFormatMonkey, {0, -1, false}), kTagNone);
}

TEST(TagTypes, WhichTagHoldsWhichField) {
    const TagPreferences defaults;
    // Every kind holds the six common fields.
    for (const char* selector : {"DTITLE", "DARTIST", "DALBUM", "DCOMMENT", "DGENRE", "DTRACK"}) {
        for (const int format :
             {catalog::kFormatMp3, catalog::kFormatOgg, catalog::kFormatMonkey}) {
            EXPECT_TRUE(FieldSupported(format, selector, defaults)) << selector << " " << format;
        }
    }
    EXPECT_TRUE(FieldSupported(catalog::kFormatMp3, "DYEAR", defaults));
    EXPECT_FALSE(FieldSupported(catalog::kFormatOgg, "DYEAR", defaults));
    EXPECT_TRUE(FieldSupported(catalog::kFormatMonkey, "DYEAR", defaults));
    EXPECT_TRUE(FieldSupported(catalog::kFormatMonkey, "DCOPYRIGHT", defaults));
    EXPECT_FALSE(FieldSupported(catalog::kFormatMonkey, "DCOMPOSER", defaults));
    EXPECT_FALSE(FieldSupported(catalog::kFormatOgg, "DCOMPOSER", defaults));
    EXPECT_TRUE(FieldSupported(catalog::kFormatOgg, "DCOMPOSER", {0, 0, true}));
    for (const char* selector : {"DCOPYRIGHT", "DCOMPOSER", "DENCODER", "DLANGUAGE", "DLINK"}) {
        EXPECT_TRUE(FieldSupported(catalog::kFormatMp3, selector, defaults)) << selector;
        EXPECT_FALSE(FieldSupported(catalog::kFormatMp3, selector, {1, 0, false})) << selector;
    }
    EXPECT_TRUE(FieldSupported(catalog::kFormatMp3, "DYEAR", {1, 0, false}));

    // A format without primary tag holds nothing, the year included (a WAV row's year must
    // not be reported as a failed write); unknown and lower-case selectors name no field.
    for (int i = 0; i < kTagFieldCount; ++i) {
        const std::string_view selector = SelectorOf(static_cast<TagField>(i));
        EXPECT_FALSE(FieldSupported(catalog::kFormatWav, selector, defaults)) << selector;
        EXPECT_FALSE(FieldSupported(catalog::kFormatMonkey, selector, {0, 9, false})) << selector;
    }
    EXPECT_FALSE(FieldSupported(catalog::kFormatMp3, "dtitle", defaults));
    EXPECT_FALSE(FieldSupported(catalog::kFormatMp3, "DPATH", defaults));
    EXPECT_FALSE(FieldSupported(catalog::kFormatMp3, "", defaults));
}

TEST(TagTypes, TheEditorLetsExactlyTheFieldsTheTagHoldsBeChanged) {
    const std::pair<const char*, TagPreferences> files[] = {
        {"a.mp3", {0, 0, false}}, {"a.ogg", {0, 0, false}}, {"a.mp3", {1, 0, false}},
        {"a.ape", {0, 0, false}}, {"a.MAC", {0, 2, false}}, {"a.OGG", {0, 0, true}}};
    for (const auto& [name, preferences] : files) {
        const TagEditorSession session(name, preferences);
        ASSERT_NE(session.TagType(), kTagNone) << name;
        for (int i = 0; i < kTagFieldCount; ++i) {
            const auto field = static_cast<TagField>(i);
            EXPECT_EQ(session.Editable(field), TagTypeSupports(session.TagType(), field))
                << name << " " << SelectorOf(field);
        }
    }
}

TEST(TagTypes, TrackRangesOfTheTagTypes) {
    EXPECT_TRUE(TrackFits(kTagId3v1, 255));
    EXPECT_FALSE(TrackFits(kTagId3v1, 256));
    EXPECT_FALSE(TrackFits(kTagApe, 256));
    EXPECT_TRUE(TrackFits(kTagId3v2, 65535));
    EXPECT_FALSE(TrackFits(kTagId3v2, 65536));
    EXPECT_TRUE(TrackFits(kTagOgg, 65535));
    EXPECT_FALSE(TrackFits(kTagOgg, 65536));
    EXPECT_FALSE(TrackFits(kTagId3v2, -1));
}

}  // namespace
}  // namespace sonarchive::tags
