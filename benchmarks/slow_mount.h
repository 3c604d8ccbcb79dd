// A folder served through the benchmarks' slow FUSE passthrough (slow_fuse.cpp): every open and
// read answers after a delay, nothing is cached. Unmounted when the object goes.
#pragma once

#include <sys/types.h>

#include <string>

namespace sonarchive::benchmarks {

class SlowMount {
  public:
    // Mounts `source` read-only at `mountPoint` (made when missing) with `delayMs` per open and
    // read. Mounted() tells whether that worked; Problem() says why not.
    SlowMount(const std::string& fuseProgram, const std::string& source,
              const std::string& mountPoint, int delayMs);
    ~SlowMount();
    SlowMount(const SlowMount&) = delete;
    SlowMount& operator=(const SlowMount&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Problem() const { return problem_; }

  private:
    std::string mountPoint_;
    pid_t server_ = -1;
    bool mounted_ = false;
    std::string problem_;
};

}  // namespace sonarchive::benchmarks
