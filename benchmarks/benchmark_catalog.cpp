#include "benchmark_catalog.h"

#include <iostream>

#include "catalog_store/catalog.h"
#include "catalog_store/path_rules.h"
#include "cataloguing/volume_identity.h"
#include "platform/proc_mount_table.h"

namespace sonarchive::benchmarks {

bool WriteCatalog(const std::string& dataDirectory, const std::vector<BenchmarkRow>& rows) {
    catalog::Catalog catalog(dataDirectory);
    platform::ProcMountTable mounts;
    catalog::PosixPathRules rules(mounts);
    catalog.Engine().BeginTransaction();
    for (const BenchmarkRow& row : rows) {
        const auto identity = cataloguing::VolumeIdentityOf(mounts, rules, row.fullPath);
        if (identity.problem != cataloguing::IdentityProblem::None) {
            std::cerr << row.fullPath << " lies on no drive\n";
            catalog.Engine().Rollback();
            return false;
        }
        catalog::TableAppender append(catalog.Engine(), "maindata");
        append.SetText("dArtist", row.artist);
        append.SetText("dTitle", row.title);
        append.SetText("dAlbum", row.album);
        append.SetText("dPath", rules.StripDriveLetter(row.fullPath));
        append.SetText("dDriveSerialNumber", identity.identity.serial);
        append.SetText("dDriveLabel", identity.identity.label);
        append.SetText("dDriveLetter", identity.identity.letter);
        append.SetInteger("dDriveType", identity.identity.typeCode);
        append.SetInteger("dFormat", 2);
        append.SetInteger("dGroupId", 1);
        append.SetInteger("dFileSize", 40);
        append.Post();
    }
    catalog.Engine().Commit();
    return true;
}

}  // namespace sonarchive::benchmarks
