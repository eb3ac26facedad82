#pragma once

#include <cstdint>

#include <QString>

namespace tidex::bench {

struct ProcessMemory {
  int processes = 0;
  std::int64_t rssKiB = 0;
  std::int64_t rootRssKiB = 0;  // the program's own process
  std::int64_t pssKiB = 0;      // proportional set size, summed
  std::int64_t rootPssKiB = 0;
  // Private pages (unique set size), summed: unlike PSS, not lowered by other processes that
  // map the same libraries, so steps compare even on a busy machine.
  std::int64_t ussKiB = 0;
  std::int64_t rootUssKiB = 0;
  std::int64_t cpuTicks = 0;  // user and system time, clock ticks
};

// Resident memory and CPU time of a process and all its descendants, from /proc; the subtree
// of excludedPid (a helper the process started, not part of what is measured) left out.
ProcessMemory MemoryOfTree(int rootPid, int excludedPid = 0);

// A size in KiB as whole MB, for the figures.
inline QString Megabytes(std::int64_t kib) { return QString::number(kib / 1024.0, 'f', 0); }

}  // namespace tidex::bench
