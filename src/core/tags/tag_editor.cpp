#include "tags/tag_editor.h"

#include <sys/stat.h>

#include "catalog_store/sql_text.h"
#include "formats/ape_tag.h"
#include "formats/id3v1.h"
#include "formats/id3v2.h"
#include "tags/row_write_back.h"
#include "text/path_bytes.h"

namespace sonarchive::tags {
namespace {

int EditableFormatOf(const std::string& path) {
    const int format = catalog::FormatCodeOf(path);
    const bool editable = format == catalog::kFormatMp3 || format == catalog::kFormatOgg ||
                          format == catalog::kFormatMonkey;
    return editable ? format : catalog::kFormatOther;
}

template <typename Tag>
bool TagExists(const std::string& systemPath) {
    Tag tag;
    return tag.Read(systemPath) && tag.Exists();
}

template <typename Tag>
bool StripTag(const std::string& systemPath, std::string& error) {
    Tag tag;
    if (tag.Strip(systemPath)) {
        return true;
    }
    error = tag.LastError();
    return false;
}

}  // namespace

bool TagPresence::Has(int tagType) const {
    switch (tagType) {
        case kTagId3v2:
            return id3v2;
        case kTagOgg:
            return ogg;
        case kTagId3v1:
            return id3v1;
        case kTagApe:
            return ape;
        default:
            return false;
    }
}

TagEditorSession::TagEditorSession(std::string path, const cataloguing::TagPreferences& preferences)
    : path_(std::move(path)),
      format_(EditableFormatOf(path_)),
      tagType_(PrimaryTagType(format_, preferences)) {}

std::string TagEditorSession::TagTypeLabel() const {
    switch (tagType_) {
        case kTagNone:
            return "N/A";
        case kTagApe:
            return "Ape 1.0";
        default:
            return TagTypeName(tagType_);
    }
}

bool TagEditorSession::FileExists() const {
    struct stat st {};
    return ::stat(text::PathToSystem(path_).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool TagEditorSession::Editable(TagField field) const {
    switch (field) {
        case TagField::Year:
            return tagType_ != kTagOgg;
        case TagField::Composer:
        case TagField::Encoder:
        case TagField::Language:
        case TagField::Link:
            return tagType_ == kTagId3v2;
        case TagField::Copyright:
            return tagType_ == kTagId3v2 || tagType_ == kTagApe;
        default:
            return true;
    }
}

void TagEditorSession::DetectTags() {
    presence_ = {};
    if (format_ == catalog::kFormatOther) {
        return;
    }
    presence_.id3v2 = TagExists<formats::TID3v2>(path_);
    if (format_ == catalog::kFormatOgg) {
        presence_.ogg = true;
        return;
    }
    presence_.id3v1 = TagExists<formats::TID3v1>(path_);
    if (format_ == catalog::kFormatMonkey) {
        presence_.ape = TagExists<formats::TAPEtag>(path_);
    }
}

TagCommand TagEditorSession::ImportCommand(int tagType) const {
    const bool ogg = format_ == catalog::kFormatOgg;
    const bool monkey = format_ == catalog::kFormatMonkey;
    switch (tagType) {
        case kTagId3v1:
            return {tagType_ != kTagId3v1 && !ogg, presence_.id3v1};
        case kTagId3v2:
            return {tagType_ != kTagId3v2, presence_.id3v2};
        case kTagOgg:
            return {ogg && tagType_ != kTagOgg, ogg};
        case kTagApe:
            return {monkey && tagType_ != kTagApe, presence_.ape};
        default:
            return {};
    }
}

TagCommand TagEditorSession::RemoveCommand(int tagType) const {
    switch (tagType) {
        case kTagId3v1:
            return {format_ != catalog::kFormatOgg, presence_.id3v1};
        case kTagId3v2:
            return {true, presence_.id3v2};
        case kTagApe:
            return {format_ == catalog::kFormatMonkey, presence_.ape};
        default:
            return {};
    }
}

catalog::TCommentInfoType TagEditorSession::Load(int tagType) const {
    return ReadTagOfType(path_, tagType).value_or(catalog::TCommentInfoType{});
}

TagWriteResult TagEditorSession::Update(const catalog::TCommentInfoType& values) {
    TagWriteResult result = WriteTag(path_, tagType_, values, "", true);
    if (result) {
        lastWritten_ = tagType_;
    }
    return result;
}

bool TagEditorSession::Remove(int tagType) {
    removeError_.clear();
    bool removed = false;
    switch (tagType) {
        case kTagId3v1:
            removed = StripTag<formats::TID3v1>(path_, removeError_);
            break;
        case kTagId3v2:
            removed = StripTag<formats::TID3v2>(path_, removeError_);
            break;
        case kTagApe:
            removed = StripTag<formats::TAPEtag>(path_, removeError_);
            break;
        default:
            removeError_ = "this tag cannot be removed";
            break;
    }
    DetectTags();
    return removed;
}

}  // namespace sonarchive::tags
