// The window part of the result-list benchmark: the real Browse and Search windows of the
// desktop program, offscreen, on a catalog made by FillResultListCatalog.
#pragma once

#include <iosfwd>
#include <string>

#include "result_lists_corpus.h"

namespace sonarchive::benchmarks {

// Starts the program on the data directory (a QApplication must exist) and prints one line per
// figure, as TimeCoreResultLists does. Each timed step includes the events that let the view
// lay out and paint what it shows. False when the program could not start.
bool TimeWindowResultLists(const std::string& dataDirectory, const ResultListCorpus& corpus,
                           std::ostream& out);

}  // namespace sonarchive::benchmarks
