#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "site_request.h"

namespace tidex::sites {

// The services a fault can be put on.
enum class Service { Board, Imct, Customs, Maker };

// Faults a service can show on demand. The first group answers in place of the service; the
// second lets the service answer (and act on the request) and spoils the answer on its way.
enum class Fault {
  None,
  ServerError,   // "500": HTTP 500 with a small error page
  NotFound,      // "404": HTTP 404 with a small error page
  Refused,       // "refused": the connection is closed without an answer
  Never,         // "never": the connection is accepted and never answered
  Download,      // "download": a binary file as an attachment instead of a page
  RedirectLoop,  // "redirect-loop": a redirect to the very address asked for, without end
  RedirectAway,  // "redirect-away": a redirect to the landing page of another host
  Moved,         // "moved": a permanent redirect to the same page at the other host name,
                 // which serves it (the service moved there)
  CutOff,        // "cut-off": the whole length announced, half of the page sent, then closed
  Huge,          // "huge": the page padded with blank lines to 5 MB
  ManyElements,  // "many-elements": 40,000 empty elements added to the page
  DialogLoop,    // "dialogs": a script calling alert, confirm, print and window.open in a loop
};

std::optional<Service> ServiceNamed(const QString& name);  // "board", "imct", "customs", "maker"
std::optional<Fault> FaultNamed(const QString& name);      // the names above; "none" too
QString FaultName(Fault fault);

// Whether the fault answers in place of the service.
bool FaultReplacesService(Fault fault);
// Whether a request meets a fault at all: a moved service still answers at its new host.
bool FaultMeets(Fault fault, const SiteRequest& request);
// The answer in place of the service for a fault that replaces it.
SiteResponse FaultAnswer(Fault fault, const SiteRequest& request);
// The service's answer spoilt by a fault that does not replace it.
SiteResponse SpoilAnswer(Fault fault, SiteResponse answer);

// Where a redirect away leads: the same port on the other name of the loopback host
// (127.0.0.1 and localhost), or 127.0.0.1 for any other host, at kLandingPath.
QString AwayAddress(const QByteArray& host);
// The other name of the loopback host with the port of host ("localhost:8080" for
// "127.0.0.1:8080"), where a moved service answers.
QByteArray OtherHost(const QByteArray& host);
inline constexpr char kLandingPath[] = "/elsewhere/";
// The landing page of that other host: a sign-in form that belongs to nobody here.
SiteResponse LandingPage();

inline constexpr qsizetype kHugePageBytes = 5 * 1024 * 1024;
inline constexpr int kManyElements = 40'000;

}  // namespace tidex::sites
