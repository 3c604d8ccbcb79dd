// The statistics of the summary window: a tree of nodes (the whole catalog, each kind of
// medium, each volume or computer), the eight figures of a node, and what its files are made
// of, by format and by volume, for the charts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog_store/engine.h"
#include "catalog_store/path_rules.h"

namespace sonarchive::reports {

enum class NodeKind { Total, FixedDrives, RemovableMedia, Computers, Volume };

struct StatisticsNode {
    NodeKind kind = NodeKind::Total;
    std::string text;       // "Total", "Fixed drives", ... or "LABEL (SERIAL)", a host name
    std::string key;        // dDriveSerialNumber of a volume or computer; empty for top nodes
    std::string condition;  // "" or "where ..." (followed by nothing)
};

// "Total", "Fixed drives", "Removable media", "Computers", in that order. The network prefix
// decides what a computer's serial begins with.
std::vector<StatisticsNode> TopNodes(const catalog::PathRules& rules);

// The volumes of "Fixed drives" and "Removable media" (one per distinct serial and label, in
// the order the engine gives them) and the computers of "Computers" (a serial that is no
// network host gives none); nothing for the other nodes.
std::vector<StatisticsNode> ChildNodes(catalog::Database& database, const catalog::PathRules& rules,
                                       const StatisticsNode& parent);

// The eight figures of a condition, as numbers. An empty result counts 0.
struct StatisticsFigures {
    std::int64_t files = 0;
    std::int64_t kilobytes = 0;
    double seconds = 0;
    std::int64_t media = 0;
    double averageKilobytes = 0;
    double averageBitrate = 0;  // of the MP3 and Ogg Vorbis files (the others store no bit rate)
    double averageSeconds = 0;
    double averageSampleRate = 0;
};
StatisticsFigures ComputeFigures(catalog::Database& database, const std::string& condition);

// The texts shown: "Number of files", "Disk size occupied", "Duration", "Number of media",
// "Avg. file size", "Avg. bitrate", "Avg. duration", "Avg. sample rate".
struct FigureTexts {
    std::string files;
    std::string diskSize;  // "4567 MB": kilobytes / 1000, fraction cut off
    std::string duration;  // "1.5 hours", one decimal with the given separator
    std::string media;
    std::string averageFileSize;    // "N KB"
    std::string averageBitrate;     // "N"
    std::string averageDuration;    // "N seconds"
    std::string averageSampleRate;  // "N Hertz"
};
FigureTexts TextsOf(const StatisticsFigures& figures, char decimalSeparator);

// One slice of a chart: what it is, how many files and how many kilobytes.
struct Share {
    std::string label;
    std::int64_t files = 0;
    std::int64_t kilobytes = 0;
};

// By format code ("MP3", "WAV", "Ogg Vorbis", "Monkey's Audio", "Other"), most files first.
std::vector<Share> SharesByFormat(catalog::Database& database, const std::string& condition);

// By volume or computer, largest first: the `largest` biggest, then one "Others" share with
// the rest when there is any.
std::vector<Share> SharesByVolume(catalog::Database& database, const catalog::PathRules& rules,
                                  const std::string& condition, std::size_t largest = 12);

}  // namespace sonarchive::reports
