// drives, hosts: the volumes and network hosts the catalog can reach now.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "catalog_store/catalog_hosts.h"
#include "catalog_store/path_rules.h"
#include "cli/verbs.h"
#include "platform/disk_info.h"
#include "platform/drive_list.h"
#include "platform/machine_ini.h"
#include "platform/proc_mount_table.h"
#include "platform/system_host_prober.h"
#include "text/path_bytes.h"

namespace sonarchive::cli {
namespace {

void TakeNoWords(const Arguments& arguments, const std::string& verb) {
    if (!arguments.Rest().empty()) {
        throw UsageError{verb + " takes no arguments"};
    }
}

int Drives(Arguments& arguments, CliContext&) {
    const bool json = arguments.TakeFlag("--json");
    TakeNoWords(arguments, "drives");
    const platform::ProcMountTable mounts;
    platform::TDiskInfo info(mounts);
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& drive : platform::BuildLocalDriveList(mounts)) {
        info.SetDrive(drive.Letter);
        if (json) {
            list.push_back({{"Drive", info.Drive()},
                            {"DriveType", info.DriveType()},
                            {"SerialNumber", info.SerialNumber()},
                            {"VolumeName", info.VolumeName()},
                            {"FileSystemType", info.FileSystemType()}});
        } else {
            std::cout << text::PathForDisplay(info.Drive()) << '\t' << info.DriveType() << '\t'
                      << info.SerialNumber() << '\t' << info.VolumeName() << '\t'
                      << info.FileSystemType() << '\n';
        }
    }
    if (json) {
        std::cout << list.dump(2) << '\n';
    }
    return kExitSuccess;
}

int Hosts(Arguments& arguments, CliContext& context) {
    const bool json = arguments.TakeFlag("--json");
    TakeNoWords(arguments, "hosts");
    catalog::Catalog* catalog = context.OpenCatalog();
    if (catalog == nullptr) {
        return kExitFailure;
    }
    const platform::ProcMountTable mounts;
    const catalog::PosixPathRules rules(mounts);
    platform::ReachabilityCheck check(std::make_shared<platform::SystemHostProber>(),
                                      platform::ReadPingTimeout());
    platform::ReachableHosts hosts;
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& [host, state] :
         catalog::CheckCatalogHosts(catalog->Engine(), rules, check, hosts)) {
        const bool reachable = state == platform::PingState::Reachable;
        if (json) {
            list.push_back({{"Host", host}, {"Reachable", reachable}});
        } else {
            std::cout << host << ": " << (reachable ? "reachable" : "unreachable") << '\n';
        }
    }
    if (json) {
        std::cout << list.dump(2) << '\n';
    }
    return kExitSuccess;
}

}  // namespace

void AddVolumeVerbs(std::vector<Verb>& verbs) {
    verbs.push_back({"drives", "list the local drives with their type, serial and label",
                     "Usage: sonarchive-cli drives [--json]\n\n"
                     "Lists every mounted drive that is not a network drive, ordered by mount\n"
                     "point: mount point, drive type, serial number, volume label and\n"
                     "filesystem type, separated by tabs. With --json, an array of objects\n"
                     "with the keys Drive, DriveType, SerialNumber, VolumeName and\n"
                     "FileSystemType.\n",
                     Drives});
    verbs.push_back({"hosts", "check which network hosts of the archive answer",
                     "Usage: sonarchive-cli [--data-dir DIR] hosts [--json]\n\n"
                     "Checks every network host the archive refers to, all at the same time,\n"
                     "waiting at most PING_TIMEOUT (sonarchv.ini) for them, and prints\n"
                     "\"HOST: reachable\" or \"HOST: unreachable\". With --json, an array of\n"
                     "objects with the keys Host and Reachable.\n",
                     Hosts});
}

}  // namespace sonarchive::cli
