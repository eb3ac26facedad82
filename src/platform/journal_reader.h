#pragma once

#include <vector>

#include <QString>

#include "platform/journal_schema.h"

namespace tidex::journal {

// Which entries to read: a part of the caption (any case of Latin letters) and a kind; empty
// is any.
struct Filter {
  QString caption;
  QString kind;
};

struct Reading {
  // Busy: a writer held a lock for the moment; read again later.
  enum class State { Read, Missing, Unreadable, Busy };
  State state = State::Missing;
  std::vector<Entry> entries;  // newest first
  QString error;               // why it could not be read
};

// The newest `limit` entries of the journal file that pass the filter. The file is opened
// read-only and never created or changed; a writer that holds a lock is not waited for (the
// read fails instead), so no monitor is ever held up by it.
Reading ReadJournal(const QString& path, const Filter& filter, int limit = 1000);

}  // namespace tidex::journal
