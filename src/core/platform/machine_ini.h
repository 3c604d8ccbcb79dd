// The machine setting file "sonarchv.ini" (section SYSTEM).
#pragma once

#include <string>
#include <vector>

namespace sonarchive::platform {

constexpr int kDefaultPingTimeoutMs = 1000;

// The folders searched for "sonarchv.ini", in order: beside the executable, then the
// settings folder.
std::vector<std::string> MachineIniCandidates();

// PING_TIMEOUT of section SYSTEM from the first of the files that exists; 1000 when it is
// missing or not an integer.
int ReadPingTimeout(const std::vector<std::string>& iniFiles = MachineIniCandidates());

}  // namespace sonarchive::platform
