#include "support/encoders.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace sonarchive::testing {
namespace {

bool RunTool(const std::string& program, const std::string& commandLine) {
    if (!HaveProgram(program)) {
        ADD_FAILURE() << program << " is not installed (scripts/test installs it)";
        return false;
    }
    const CommandResult result = RunCommand(commandLine);
    if (result.exitCode != 0) {
        ADD_FAILURE() << commandLine << " failed:\n" << result.output;
        return false;
    }
    return true;
}

}  // namespace

bool MakeToneWav(const std::string& path, double seconds, int sampleRate, int channels,
                 const std::string& soxFormat) {
    return RunTool("sox", "sox -n -r " + std::to_string(sampleRate) + " -c " +
                              std::to_string(channels) + " " + soxFormat + " " + ShellQuote(path) +
                              " synth " + std::to_string(seconds) + " sine 440 vol 0.5");
}

bool EncodeMp3(const std::string& wav, const std::string& mp3, const std::string& options) {
    return RunTool("lame", "lame --quiet " + options + " " + ShellQuote(wav) + " " +
                               ShellQuote(mp3));
}

bool EncodeOgg(const std::string& wav, const std::string& ogg, const std::string& options) {
    return RunTool("oggenc", "oggenc --quiet " + options + " -o " + ShellQuote(ogg) + " " +
                                 ShellQuote(wav));
}

bool RunFfmpeg(const std::string& arguments) {
    return RunTool("ffmpeg", "ffmpeg -nostdin -y -v error " + arguments);
}

nlohmann::json Probe(const std::string& path) {
    if (!HaveProgram("ffprobe")) {
        ADD_FAILURE() << "ffprobe is not installed (scripts/test installs it)";
        return nullptr;
    }
    // RunCommand joins standard error to the output; the braces keep ffprobe's complaints
    // about the file (which it prints even at "-v error") out of the JSON.
    const CommandResult result = RunCommand(
        "{ ffprobe -v error -show_format -show_streams -of json " + ShellQuote(path) +
        " 2>/dev/null; }");
    if (result.exitCode != 0) {
        ADD_FAILURE() << "ffprobe failed on " << path << ":\n" << result.output;
        return nullptr;
    }
    return nlohmann::json::parse(result.output, nullptr, false);
}

double ProbedDuration(const nlohmann::json& probe) {
    if (probe.is_null() || probe.is_discarded()) {
        return -1;
    }
    for (const auto& stream : probe.value("streams", nlohmann::json::array())) {
        if (stream.value("codec_type", "") == "audio" && stream.contains("duration")) {
            return std::stod(stream["duration"].get<std::string>());
        }
    }
    return std::stod(probe["format"].value("duration", "-1"));
}

}  // namespace sonarchive::testing
