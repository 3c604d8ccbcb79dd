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

// Overwrites three pages of table rows (b-tree leaf pages of tables, a quarter, half and three
// quarters into the file's list of them) with random bytes.
void DamageThreeTablePages(const std::string& databasePath);

// Overwrites the root page of a table or index with garbage after its 12-byte header, so that
// the page still reads as one of its kind and the structure check finds fault with every cell.
void ScrambleRootPageCells(const std::string& databasePath, const std::string& objectName);

}  // namespace sonarchive::catalog::testfiles
