#pragma once

#include <QString>

namespace tidex {

// Addresses of the IMCT service's pages, on the server of the "imct" setting.
QString ImctLoginPage();
QString ImctQueryPage();
// The image that is clicked like a submit button; recognised only by this full address.
QString ImctImageButton();
// Whether a page address has the scheme, host and port of the configured IMCT server: only
// such pages are given the account.
bool IsOnImctServer(const QString& pageAddress);

}  // namespace tidex
