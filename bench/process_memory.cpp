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

}  // namespace

ProcessMemory MemoryOfTree(int rootPid) {
  std::multimap<int, int> children;
  std::map<int, std::int64_t> rss;
  for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    bool isPid = false;
    const int pid = entry.toInt(&isPid);
    if (!isPid) continue;
    const QByteArray status = readProc(pid, "status");
    int ppid = 0;
    std::int64_t kib = 0;
    for (const QByteArray& line : status.split('\n')) {
      if (line.startsWith("PPid:")) ppid = line.mid(5).trimmed().toInt();
      if (line.startsWith("VmRSS:")) kib = line.mid(6).trimmed().split(' ').front().toLongLong();
    }
    children.emplace(ppid, pid);
    rss[pid] = kib;
  }
  ProcessMemory total;
  total.rootRssKiB = rss[rootPid];
  std::vector<int> pending{rootPid};
  while (!pending.empty()) {
    const int pid = pending.back();
    pending.pop_back();
    ++total.processes;
    total.rssKiB += rss[pid];
    auto [from, to] = children.equal_range(pid);
    for (auto it = from; it != to; ++it) pending.push_back(it->second);
  }
  return total;
}

}  // namespace tidex::bench
