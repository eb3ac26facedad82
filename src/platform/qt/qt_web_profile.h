#pragma once

class QWebEngineProfile;

namespace tidex {

// The one browser profile of the program, made on first use: off the record (nothing kept on
// disk), downloads refused, page dialogs disarmed in every frame by a script, no page of a
// scheme other than http and https (qt_scheme_rule.h). It is deleted as
// the application ends, after the last page.
QWebEngineProfile& sharedWebProfile();

}  // namespace tidex
