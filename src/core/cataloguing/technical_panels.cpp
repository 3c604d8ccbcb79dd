#include "cataloguing/technical_panels.h"

#include <cmath>
#include <cstdio>

#include "catalog_store/sql_text.h"
#include "formats/channel_name.h"
#include "formats/monkey.h"
#include "formats/mpeg_audio.h"
#include "formats/wav_file.h"

namespace sonarchive::cataloguing {
namespace {

std::string YesNo(bool flag) { return flag ? "Yes" : "No"; }

std::string Hertz(int rate) { return std::to_string(rate) + " Hz"; }

TechnicalPanel MpegPanel(const catalog::TMainDataRec& r) {
    using formats::TMPEGaudio;
    return {"PMPEGInfo",
            {{"MPEG type", "LMpegVersion",
              TMPEGaudio::VersionName(r.dMPEGVersion) + " " + TMPEGaudio::LayerName(r.dMPEGLayer)},
             {"Bit rate", "LBitRate", std::to_string(r.dMPEGBitrate)},
             {"Sample rate", "LSampleRate", Hertz(r.dMPEGFrequency)},
             {"Channel mode", "lChannelMode", TMPEGaudio::ChannelModeName(r.dChannelMode)},
             {"Length", "LLength", RoundedSeconds(r.dLength)},
             {"Frames", "LFrames", std::to_string(r.dMPEGFrames)},
             {"CRC", "LCRC", YesNo(r.dMPEGCRC)},
             {"Copyright", "LCopyright", YesNo(r.dMPEGCopyright)},
             {"Original", "LOriginal", YesNo(r.dMPEGOriginal)},
             {"Emphasis", "LEmphasis", TMPEGaudio::EmphasisName(r.dMPEGEmphasis)},
             {"Encoder", "LEncoder", r.dMPEGEncoder}}};
}

TechnicalPanel WavePanel(const catalog::TMainDataRec& r) {
    return {"PWaveEncoding",
            {{"Format", "LWaveFormat",
              formats::TWAVfile::FormatName(static_cast<std::uint16_t>(r.dMPEGVersion))},
             {"Bits per sample", "LWaveBitsPerSample", std::to_string(r.dMPEGBitrate)},
             {"Sample rate", "LWaveSampleRate", Hertz(r.dMPEGFrequency)},
             {"Channel mode", "lWaveChannelMode",
              formats::ChannelCountName(static_cast<unsigned>(r.dChannelMode))},
             {"Length", "LWaveLength", RoundedSeconds(r.dLength)},
             {"Bytes per second", "LWaveBytesPerSecond", std::to_string(r.dMPEGFrames)},
             {"Block align", "LWaveBlockAlign", std::to_string(r.dMPEGLayer) + " bytes"}}};
}

TechnicalPanel OggPanel(const catalog::TMainDataRec& r) {
    return {"POggEncodingInfo",
            {{"Bit rate", "LOggBitrate", std::to_string(r.dMPEGBitrate)},
             {"Sample rate", "LOggSampleRate", Hertz(r.dMPEGFrequency)},
             {"Channel mode", "lOggChannelMode",
              formats::ChannelCountName(static_cast<unsigned>(r.dChannelMode))},
             {"Length", "LOggLength", RoundedSeconds(r.dLength)}}};
}

std::string PeakLevel(const catalog::TMainDataRec& r) {
    char percent[32];
    std::snprintf(percent, sizeof percent, "%05.2f",
                  formats::TMonkey::PeakPercent(static_cast<std::uint16_t>(r.dMPEGEmphasis),
                                                static_cast<std::uint32_t>(r.dMPEGLayer)));
    return std::string(percent) + "% - " + std::to_string(r.dMPEGLayer);
}

TechnicalPanel MonkeyPanel(const catalog::TMainDataRec& r) {
    return {"pMonkeyEncoding",
            {{"Version", "LMonkeyHeaderVersion",
              formats::TMonkey::VersionText(static_cast<std::uint16_t>(r.dMPEGVersion))},
             {"Bits per sample", "LMonkeyBitRate", std::to_string(r.dMPEGBitrate)},
             {"Sample rate", "LMonkeySampleRate", Hertz(r.dMPEGFrequency)},
             {"Channel mode", "lMonkeyChannelMode",
              formats::ChannelCountName(static_cast<unsigned>(r.dChannelMode))},
             {"Length", "LMonkeyLength", RoundedSeconds(r.dLength)},
             {"Frames", "LMonkeyFrames", std::to_string(r.dMPEGFrames)},
             {"Samples", "LMonkeySamples", r.dMPEGEncoder},
             {"Peak level", "LMonkeyPeakLevel", PeakLevel(r)},
             {"Seek elements", "LMonkeySeekElements", ""},
             {"Compression", "LMonkeyCompression", ""}}};
}

}  // namespace

std::string RoundedSeconds(double seconds) {
    // nearbyint rounds in the current mode, which is to nearest with ties to even.
    return std::to_string(static_cast<long long>(std::nearbyint(seconds))) + " seconds";
}

TechnicalPanel TechnicalPanelFor(const catalog::TMainDataRec& row) {
    switch (row.dFormat) {
        case catalog::kFormatMp3:
            return MpegPanel(row);
        case catalog::kFormatWav:
            return WavePanel(row);
        case catalog::kFormatOgg:
            return OggPanel(row);
        case catalog::kFormatMonkey:
            return MonkeyPanel(row);
        default:
            return {};
    }
}

}  // namespace sonarchive::cataloguing
