#pragma once

#include <QString>
#include <QStringList>

#include "../tests/e2e/program_runner.h"

namespace tidex::bench {

// A fresh TIDEX_HOME as a user's installation has it for a batch: the IMCT account, the servers
// and pilots of tidex-sites, and on the maker the remote batch list of the given numbers.
// False when the settings file cannot be written.
bool PrepareBatchHome(const e2e::SitesRunner& sites, const QString& home,
                      const QStringList& numbers);

}  // namespace tidex::bench
