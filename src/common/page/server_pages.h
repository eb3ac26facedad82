#pragma once

#include <QString>

namespace tidex {

// Whether a page address has the scheme, host and port of the server named in the settings'
// servers section ("board", "imct" ...): a redirect to another host leads off that server.
bool IsOnServer(const QString& pageAddress, const QString& serverName);

}  // namespace tidex
