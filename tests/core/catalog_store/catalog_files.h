// Catalog files in states the program must cope with, made with plain SQL or by damaging
// pages, for the start-up and maintenance tests.
#pragma once

#include <string>

namespace sonarchive::catalog::testfiles {

// A catalog of an older schema: maindata with dPath CHAR(200), no dFileDate, 512-byte pages,
// holding `rows` rows.
void MakeOldCatalog(const std::string& databasePath, int rows);

// Overwrites the root page of a table or index with garbage.
void DamageRootPage(const std::string& databasePath, const std::string& objectName);

}  // namespace sonarchive::catalog::testfiles
