#pragma once

#include <mutex>

#include "control_http.h"
#include "port_sites.h"

// Control routes of the IMCT service, the maker's mail form and the customs database; lock
// guards sites.
namespace tidex::sites::control {

void AddImctControl(httplib::Server& server, BodilessPosts& posts, std::mutex& lock,
                    PortSites& sites);
void AddMailControl(httplib::Server& server, BodilessPosts& posts, std::mutex& lock,
                    PortSites& sites);
void AddCustomsControl(BodilessPosts& posts, std::mutex& lock, PortSites& sites);

}  // namespace tidex::sites::control
