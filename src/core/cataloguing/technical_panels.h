// The texts of the technical-information panel a result window shows for a selected row: one
// panel per format, each a list of caption and value pairs. Shared by the desktop program and
// the command-line program.
#pragma once

#include <string>
#include <vector>

#include "catalog_store/records.h"

namespace sonarchive::cataloguing {

struct PanelLine {
    std::string caption;     // "Bit rate"
    std::string valueLabel;  // the value label's name ("LBitRate")
    std::string value;       // "192"
};

struct TechnicalPanel {
    std::string name;  // "PMPEGInfo", "PWaveEncoding", "POggEncodingInfo", "pMonkeyEncoding"
    std::vector<PanelLine> lines;
};

// The panel of a row's format; a panel without name or lines for any other format.
TechnicalPanel TechnicalPanelFor(const catalog::TMainDataRec& row);

// Seconds rounded to the nearest whole second (ties to even), followed by " seconds".
std::string RoundedSeconds(double seconds);

}  // namespace sonarchive::cataloguing
