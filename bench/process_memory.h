#pragma once

#include <cstdint>
#include <vector>

#include <QString>

namespace tidex::bench {

struct ProcessMemory {
  int processes = 0;
  std::int64_t rssKiB = 0;
  std::int64_t rootRssKiB = 0;  // the program's own process
  std::int64_t pssKiB = 0;      // proportional set size, summed
  std::int64_t rootPssKiB = 0;
  // Private pages (unique set size), summed: unlike PSS, not split with other processes; but a
  // library's clean pages leave it while another process maps the same library.
  std::int64_t ussKiB = 0;
  std::int64_t rootUssKiB = 0;
  std::int64_t cpuTicks = 0;  // user and system time, clock ticks
};

// Resident memory and CPU time of a process and all its descendants, from /proc; the subtree
// of excludedPid (a helper the process started, not part of what is measured) left out.
ProcessMemory MemoryOfTree(int rootPid, int excludedPid = 0);

// One process of the tree: its id, what it is ("program", or the browser engine's --type, e.g.
// "renderer") and its private memory.
struct ProcessSample {
  int pid = 0;
  QString kind;
  std::int64_t ussKiB = 0;
  // The private pages it wrote (heap, the engine's own memory): USS without the clean pages of
  // its libraries, which turn shared, and leave USS, whenever another process maps the same
  // library (another copy of the program, a test, anything built with Qt).
  std::int64_t dirtyKiB = 0;
  std::int64_t pssKiB = 0;
};

// Each process of the tree of rootPid, the root first.
std::vector<ProcessSample> MemoryOfEach(int rootPid);

// A size in KiB as whole MB, for the figures.
inline QString Megabytes(std::int64_t kib) { return QString::number(kib / 1024.0, 'f', 0); }

}  // namespace tidex::bench
