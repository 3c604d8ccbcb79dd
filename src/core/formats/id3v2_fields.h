// The twelve fields of TID3v2 and the frames they live in: taking the fields from a tag's
// frames, and changing the frames so that they hold new field values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/id3v2.h"
#include "formats/id3v2_frames.h"

namespace sonarchive::formats::id3v2 {

// The frames the fields are taken from (in 2.3 names).
bool IsFieldFrame(std::string_view id);

// The fields as a tag of `version` holds them in `frames`. A later frame replaces an earlier
// one of the same identifier; frames that cannot be interpreted, or are larger than
// kLargestFieldFrame, are passed over.
Id3v2Fields DeriveFields(const std::vector<Frame>& frames, std::uint8_t version);

// The text of a text frame ("T..." except TXXX): its first string before version 2.4, where
// later strings are to be ignored, and from 2.4 on all its strings joined by " / " (a 2.4
// frame lists several artists or genres as strings separated by zero bytes).
std::optional<std::string> TextFrameValue(const Frame& frame, std::uint8_t version);

// A genre text with its ID3v1 references resolved: "(13)" and "13" give "Pop", "(RX)" and
// "(CR)" give "Remix" and "Cover", a refinement wins over references ("(17)Rock" gives
// "Rock"), and "((" stands for a text that starts with "(".
std::string ResolveGenre(std::string_view genre);

// A version 2.3 text frame holding `utf8`, in ISO-8859-1 where it suffices, else in UTF-16.
Frame MakeTextFrame(std::string id, std::string_view utf8);

// `frames` (a 2.3 tag's) changed to hold `after` where it differs from `before`, the fields
// those frames hold now. Frames of unchanged fields and frames of no field stay as they are;
// new frames come first. Nothing when a new frame would be larger than the frames fields are
// read from: that value would be written and then never read back.
std::optional<std::vector<Frame>> ApplyFieldChanges(std::vector<Frame> frames, const Id3v2Fields& before,
                                     const Id3v2Fields& after);

}  // namespace sonarchive::formats::id3v2
