#pragma once

#include <atomic>
#include <mutex>

#include "control_http.h"
#include "port_sites.h"

// Control routes of the IMCT service, the maker's mail form, the customs database and the
// services' faults; lock guards sites.
namespace tidex::sites::control {

void AddImctControl(httplib::Server& server, BodilessPosts& posts, std::mutex& lock,
                    PortSites& sites);
void AddMailControl(httplib::Server& server, BodilessPosts& posts, std::mutex& lock,
                    PortSites& sites);
void AddCustomsControl(BodilessPosts& posts, std::mutex& lock, PortSites& sites);
// A receiver of the program's webhook at /hooks/tidex: it records every POST and takes each
// Idempotency-Key once; it can fail on demand, or answer 302 to /hooks/elsewhere, which records
// whatever reaches it.
void AddWebhookReceiver(httplib::Server& server, BodilessPosts& posts, std::mutex& lock);
// A dead-man's switch: it records every POST to /ping/... (path, content type, text).
void AddPingReceiver(httplib::Server& server, std::mutex& lock);
// Faults of the services; each change counts a recovery, which lets held requests be answered
// anew.
void AddFaultControl(BodilessPosts& posts, std::mutex& lock, PortSites& sites,
                     std::atomic<unsigned>& recoveries);

}  // namespace tidex::sites::control
