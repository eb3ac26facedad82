#pragma once

#include <QString>

namespace tidex {

// Addresses of the IMCT service's pages, on the server of the "imct" setting.
QString ImctLoginPage();
QString ImctQueryPage();
// The image that is clicked like a submit button; recognised only by this full address.
QString ImctImageButton();

}  // namespace tidex
