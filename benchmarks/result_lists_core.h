// The core part of the result-list benchmark: the statements of the Browse and Search windows
// and the row store behind their lists, timed on a catalog made by FillResultListCatalog.
#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

#include "catalog_store/catalog.h"
#include "result_lists_corpus.h"

namespace sonarchive::benchmarks {

// Runs the step once to warm the caches, then again timed, and prints the figures of the
// second run with the number of rows the step answers.
void Measure(std::ostream& out, const std::string& what, const std::function<std::size_t()>& step);

// Prints one line per figure: "<what>: <seconds> s". Each step runs once to warm the caches
// before it is timed.
void TimeCoreResultLists(catalog::Catalog& catalog, const ResultListCorpus& corpus,
                         std::ostream& out);

}  // namespace sonarchive::benchmarks
