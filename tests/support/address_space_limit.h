#pragma once

// A limit on the program's address space for a scope, so that tests can see what the program
// does when memory or a thread cannot be had.

#include <sys/resource.h>

#include <cstddef>
#include <fstream>
#include <string>

namespace quorbel::testing {

// The program's address space now, in bytes.
inline std::size_t AddressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmSize:", 0) == 0) {
            return static_cast<std::size_t>(std::stoull(line.substr(7))) * 1024;
        }
    }
    return 0;
}

// Allows moreMiB beyond what is in use until the end of the scope.
class AddressSpaceLimit {
  public:
    explicit AddressSpaceLimit(std::size_t moreMiB) {
        rlimit limited{};
        set_ = getrlimit(RLIMIT_AS, &before_) == 0;
        limited = before_;
        limited.rlim_cur = AddressSpaceInUse() + (moreMiB << 20);
        set_ = set_ && setrlimit(RLIMIT_AS, &limited) == 0;
    }
    ~AddressSpaceLimit() {
        if (set_) {
            setrlimit(RLIMIT_AS, &before_);
        }
    }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    bool set() const { return set_; }

  private:
    rlimit before_{};
    bool set_ = false;
};

}  // namespace quorbel::testing
