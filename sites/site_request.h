#pragma once

#include "platform/web_server.h"

namespace tidex::sites {

// The services answer as an in-process web server does.
using SiteRequest = WebRequest;
using SiteResponse = WebResponse;

}  // namespace tidex::sites
