#pragma once

#include <QByteArray>

#include "site_request.h"

namespace tidex::sites {

// The maker's plain pages: "/pda/Tidex_error.php", shown after a refused IMCT account, and
// the three discharge-permit list pages "/pda/imct.php", "/pda/imctba.php", "/pda/imctbe.php".
bool IsMakerPlainPage(const QByteArray& path);
SiteResponse MakerPlainPage(const QByteArray& path);

}  // namespace tidex::sites
