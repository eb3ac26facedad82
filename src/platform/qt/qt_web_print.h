#pragma once

class QWebEngineView;

namespace tidex {

// Opens the print dialog for the view's page without waiting for it; the page prints when the
// dialog is accepted. Does nothing while an earlier print of the view is still open or running,
// or when the build has no print support.
void openPrintDialog(QWebEngineView& view);

}  // namespace tidex
