#pragma once

#include <cstdint>

namespace tidex::bench {

struct ProcessMemory {
  int processes = 0;
  std::int64_t rssKiB = 0;
  std::int64_t rootRssKiB = 0;  // the program's own process
};

// Resident memory of a process and all its descendants, from /proc.
ProcessMemory MemoryOfTree(int rootPid);

}  // namespace tidex::bench
