#pragma once

#include <QString>

namespace tidex {

// Addresses of the IMCT service's pages, on the server of the "imct" setting.
QString ImctLoginPage();
QString ImctQueryPage();
// The image that is clicked like a submit button.
QString ImctImageButton();
// Whether an image's absolute source address is the image button's: the same scheme, host in
// any case, port (a default one written out or not), path and query.
bool IsImctImageButton(const QString& imageSource);
// Whether a page address has the scheme, host and port of the configured IMCT server: only
// such pages are given the account.
bool IsOnImctServer(const QString& pageAddress);

}  // namespace tidex
