#include "tags/tag_write.h"

#include <memory>
#include <optional>
#include <type_traits>

#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "formats/ogg_vorbis.h"
#include "tags/tag_types.h"

namespace sonarchive::tags {
namespace {

using catalog::TCommentInfoType;

// How a genre name that the ID3v1 table lacks is taken.
enum class GenreRule { KeepOld, Refuse };

// One tag object behind the operations WriteTag needs.
class TagObject {
public:
    virtual ~TagObject() = default;
    virtual bool Read(const std::string& path) = 0;
    virtual bool Exists() const = 0;
    // Sets a field the tag type holds; false with a reason when the value cannot be held.
    virtual bool Set(TagField field, const TCommentInfoType& values, GenreRule genre,
                     std::string& reason) = 0;
    virtual bool Write(const std::string& path) = 0;
    virtual std::string LastError() const = 0;
};

// ID3v1 holds a genre as its place in the genre table.
bool SetGenreIndex(formats::TID3v1& tag, const std::string& genre, GenreRule rule,
                   std::string& reason) {
    const int index = formats::GenreIndexOf(genre);
    if (index >= 0) {
        tag.SetGenreIndex(static_cast<std::uint8_t>(index));
        return true;
    }
    if (rule == GenreRule::Refuse) {
        reason = "the genre \"" + genre + "\" is not in the ID3v1 genre list";
        return false;
    }
    return true;
}

// The four fields only ID3v2 holds.
void SetId3v2Text(formats::TID3v2& tag, TagField field, const std::string& text) {
    if (field == TagField::Composer) {
        tag.SetComposer(text);
    } else if (field == TagField::Encoder) {
        tag.SetEncoder(text);
    } else if (field == TagField::Language) {
        tag.SetLanguage(text);
    } else {
        tag.SetLink(text);
    }
}

// The tag classes share their setters' names; a field whose setter a class lacks is one its
// tag does not hold (the Vorbis comment's date is kept, never set from a year).
template <typename Tag>
bool SetText(Tag& tag, TagField field, const std::string& text) {
    switch (field) {
        case TagField::Title:
            tag.SetTitle(text);
            return true;
        case TagField::Artist:
            tag.SetArtist(text);
            return true;
        case TagField::Album:
            tag.SetAlbum(text);
            return true;
        case TagField::Comment:
            tag.SetComment(text);
            return true;
        case TagField::Genre:
            if constexpr (requires { tag.SetGenre(text); }) {
                tag.SetGenre(text);
                return true;
            }
            return false;
        case TagField::Year:
            if constexpr (requires { tag.SetYear(text); }) {
                tag.SetYear(text);
                return true;
            }
            return false;
        case TagField::Copyright:
            if constexpr (requires { tag.SetCopyright(text); }) {
                tag.SetCopyright(text);
                return true;
            }
            return false;
        case TagField::Composer:
        case TagField::Encoder:
        case TagField::Language:
        case TagField::Link:
            if constexpr (std::is_same_v<Tag, formats::TID3v2>) {
                SetId3v2Text(tag, field, text);
                return true;
            }
            return false;
        case TagField::Track:
            return false;
    }
    return false;
}

template <typename Tag>
class TagOf final : public TagObject {
public:
    bool Read(const std::string& path) override { return tag_.Read(path); }
    // The Vorbis comment of an Ogg file, which tells no existence, counts as present whenever
    // the file reads as Ogg Vorbis.
    bool Exists() const override {
        if constexpr (requires(const Tag& tag) { tag.Exists(); }) {
            return tag_.Exists();
        } else {
            return true;
        }
    }
    bool Set(TagField field, const TCommentInfoType& values, GenreRule genre,
             std::string& reason) override {
        if (field == TagField::Track) {
            // The range was checked before anything was read.
            tag_.SetTrack(static_cast<decltype(tag_.Track())>(values.Track));
            return true;
        }
        if constexpr (std::is_same_v<Tag, formats::TID3v1>) {
            if (field == TagField::Genre) {
                return SetGenreIndex(tag_, values.Genre, genre, reason);
            }
        }
        return SetText(tag_, field, *TextFieldOf(values, field));
    }
    bool Write(const std::string& path) override { return tag_.Write(path); }
    std::string LastError() const override { return tag_.LastError(); }

private:
    Tag tag_;
};

std::unique_ptr<TagObject> MakeTagObject(int tagType) {
    switch (tagType) {
        case kTagId3v2:
            return std::make_unique<TagOf<formats::TID3v2>>();
        case kTagOgg:
            return std::make_unique<TagOf<formats::TOggVorbis>>();
        case kTagId3v1:
            return std::make_unique<TagOf<formats::TID3v1>>();
        case kTagApe:
            return std::make_unique<TagOf<formats::TAPEtag>>();
        default:
            return nullptr;
    }
}

TagWriteResult Refused(std::string reason) {
    return {false, std::move(reason)};
}

std::string TrackRangeReason(int tagType, std::int64_t track) {
    return "the track number " + std::to_string(track) + " does not fit " + TagTypeName(tagType) +
           " (0 to " + (TrackFits(tagType, 256) ? "65535" : "255") + ")";
}

// Every field of `values` that the tag type holds.
bool SetEveryField(TagObject& tag, int tagType, const TCommentInfoType& values,
                   std::string& reason) {
    for (int i = 0; i < kTagFieldCount; ++i) {
        const auto field = static_cast<TagField>(i);
        if (TagTypeSupports(tagType, field) &&
            !tag.Set(field, values, GenreRule::KeepOld, reason)) {
            return false;
        }
    }
    return true;
}

// What WriteTag and WriteTagField share: the checks, the read, the fields, the write.
TagWriteResult Apply(const std::string& fileName, int tagType, const TCommentInfoType& values,
                     std::string_view selector, bool readFirst,
                     const std::function<TCommentInfoType()>* seedWhenMissing) {
    std::unique_ptr<TagObject> tag = MakeTagObject(tagType);
    if (!tag) {
        return Refused("the file has no tag type to write");
    }
    std::optional<TagField> only;
    if (!selector.empty()) {
        only = FieldOfSelector(selector);
        if (!only) {
            return Refused("unknown field " + std::string(selector));
        }
        if (!TagTypeSupports(tagType, *only)) {
            return Refused(TagTypeName(tagType) + " has no field " + std::string(selector));
        }
    }
    if ((!only || *only == TagField::Track) && !TrackFits(tagType, values.Track)) {
        return Refused(TrackRangeReason(tagType, values.Track));
    }
    if (readFirst && !tag->Read(fileName)) {
        return Refused("cannot read the tag: " + tag->LastError());
    }
    std::string reason;
    if (seedWhenMissing != nullptr && *seedWhenMissing && !tag->Exists()) {
        TCommentInfoType seed = (*seedWhenMissing)();
        // A shown track number the new tag cannot hold is left out rather than refusing the
        // field the user chose.
        if (!TrackFits(tagType, seed.Track)) {
            seed.Track = 0;
        }
        if (!SetEveryField(*tag, tagType, seed, reason)) {
            return Refused(reason);
        }
    }
    const bool set = only ? tag->Set(*only, values, GenreRule::Refuse, reason)
                          : SetEveryField(*tag, tagType, values, reason);
    if (!set) {
        return Refused(reason);
    }
    if (!tag->Write(fileName)) {
        return Refused(tag->LastError().empty() ? "cannot write the tag" : tag->LastError());
    }
    return {true, {}};
}

}  // namespace

TagWriteResult WriteTag(const std::string& fileName, int tagType, const TCommentInfoType& values,
                        std::string_view selector, bool readFirst) {
    return Apply(fileName, tagType, values, selector, readFirst, nullptr);
}

TagWriteResult WriteTagField(const std::string& fileName, int tagType,
                             const TCommentInfoType& values, std::string_view selector,
                             const std::function<TCommentInfoType()>& seedWhenMissing) {
    return Apply(fileName, tagType, values, selector, true, &seedWhenMissing);
}

}  // namespace sonarchive::tags
