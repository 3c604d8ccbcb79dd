// Real audio files for integration tests, made at test time with sox, lame, oggenc and ffmpeg,
// and what ffprobe says about them. Each function fails the current test (and returns false
// or an empty value) when the tool is missing or reports an error; scripts/test installs them.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace sonarchive::testing {

// A sine tone as 16-bit PCM WAV (or other `soxFormat` options such as "-b 8", "-e a-law").
bool MakeToneWav(const std::string& path, double seconds, int sampleRate, int channels,
                 const std::string& soxFormat = "-b 16");

// Encodes `wav` with lame; `options` are lame's own ("-b 128", "-V 2 --tt Title").
bool EncodeMp3(const std::string& wav, const std::string& mp3, const std::string& options);

// Encodes `wav` with oggenc; `options` are oggenc's own ("-q 3 -t Title -c ARTIST=x").
bool EncodeOgg(const std::string& wav, const std::string& ogg, const std::string& options);

// Runs ffmpeg with the given arguments (input and output included) and "-y -v error".
bool RunFfmpeg(const std::string& arguments);

// ffprobe's view of a file: {"format": {...}, "streams": [...]}; null on failure.
nlohmann::json Probe(const std::string& path);

// The duration ffprobe gives for the first audio stream, else for the container.
double ProbedDuration(const nlohmann::json& probe);

}  // namespace sonarchive::testing
