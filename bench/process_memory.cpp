#include "process_memory.h"

#include <map>
#include <vector>

#include <QDir>
#include <QFile>

namespace tidex::bench {
namespace {

QByteArray readProc(int pid, const char* file) {
  QFile f(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file)));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The number after "key:" in a /proc file of "key: value kB" lines.
std::int64_t field(const QByteArray& text, const QByteArray& key) {
  for (const QByteArray& line : text.split('\n')) {
    if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').front().toLongLong();
  }
  return 0;
}

// utime + stime from /proc/<pid>/stat; the fields after the command name in parentheses.
std::int64_t cpuTicksOf(int pid) {
  const QByteArray stat = readProc(pid, "stat");
  const auto close = stat.lastIndexOf(')');
  if (close < 0) return 0;
  const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
  // fields[0] is the state (field 3); utime and stime are fields 14 and 15.
  return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : 0;
}

// Parent of each process, by id.
std::multimap<int, int> childrenOfAll() {
  std::multimap<int, int> children;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool isPid = false;
    const int pid = entry.toInt(&isPid);
    if (!isPid) continue;
    children.emplace(static_cast<int>(field(readProc(pid, "status"), "PPid:")), pid);
  }
  return children;
}

// The browser engine's --type=... of a process, or its command name.
QString kindOf(int pid) {
  const QList<QByteArray> args = readProc(pid, "cmdline").split('\0');
  for (const QByteArray& arg : args) {
    if (arg.startsWith("--type=")) return QString::fromLatin1(arg.mid(7));
  }
  return QString::fromLatin1(readProc(pid, "comm").trimmed());
}

}  // namespace

std::vector<ProcessSample> MemoryOfEach(int rootPid) {
  const std::multimap<int, int> children = childrenOfAll();
  std::vector<ProcessSample> out;
  std::vector<int> pending{rootPid};
  while (!pending.empty()) {
    const int pid = pending.front();
    pending.erase(pending.begin());
    const QByteArray rollup = readProc(pid, "smaps_rollup");
    const std::int64_t dirty = field(rollup, "Private_Dirty:");
    out.push_back({pid, pid == rootPid ? QStringLiteral("program") : kindOf(pid),
                   field(rollup, "Private_Clean:") + dirty, dirty, field(rollup, "Pss:")});
    auto [from, to] = children.equal_range(pid);
    for (auto it = from; it != to; ++it) pending.push_back(it->second);
  }
  return out;
}

ProcessMemory MemoryOfTree(int rootPid, int excludedPid) {
  const std::multimap<int, int> children = childrenOfAll();
  ProcessMemory total;
  std::vector<int> pending{rootPid};
  while (!pending.empty()) {
    const int pid = pending.back();
    pending.pop_back();
    const std::int64_t rss = field(readProc(pid, "status"), "VmRSS:");
    const QByteArray rollup = readProc(pid, "smaps_rollup");
    const std::int64_t pss = field(rollup, "Pss:");
    const std::int64_t uss = field(rollup, "Private_Clean:") + field(rollup, "Private_Dirty:");
    if (pid == rootPid) {
      total.rootRssKiB = rss;
      total.rootPssKiB = pss;
      total.rootUssKiB = uss;
    }
    total.ussKiB += uss;
    ++total.processes;
    total.rssKiB += rss;
    total.pssKiB += pss;
    total.cpuTicks += cpuTicksOf(pid);
    auto [from, to] = children.equal_range(pid);
    for (auto it = from; it != to; ++it) {
      if (it->second != excludedPid) pending.push_back(it->second);
    }
  }
  return total;
}

}  // namespace tidex::bench
