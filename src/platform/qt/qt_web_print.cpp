#include "platform/qt/qt_web_print.h"

#include <QWebEngineView>

#if __has_include(<QPrintDialog>)
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#define TIDEX_WEB_PRINTING 1
#endif

namespace tidex {

#ifdef TIDEX_WEB_PRINTING
namespace {

const char kJobName[] = "tidex-print-job";

// One print of a view, a child of the view: its printer lives as long as the dialog and the
// printing; going with the view, it closes its dialog.
class PrintJob final : public QObject {
 public:
  explicit PrintJob(QWebEngineView& view) : QObject(&view), view_(view) {
    setObjectName(QLatin1String(kJobName));
  }
  ~PrintJob() override { delete dialog_.data(); }

  void start() {
    dialog_ = new QPrintDialog(&printer_, view_.window());
    dialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog_, &QDialog::finished, this, [this](int result) {
      if (result != QDialog::Accepted) {
        deleteLater();
        return;
      }
      connect(&view_, &QWebEngineView::printFinished, this, &QObject::deleteLater);
      view_.print(&printer_);
    });
    dialog_->open();
  }

 private:
  QWebEngineView& view_;
  QPointer<QPrintDialog> dialog_;
  QPrinter printer_{QPrinter::HighResolution};
};

}  // namespace

void openPrintDialog(QWebEngineView& view) {
  if (view.findChild<QObject*>(QLatin1String(kJobName), Qt::FindDirectChildrenOnly)) return;
  (new PrintJob(view))->start();
}

#else

void openPrintDialog(QWebEngineView&) {}

#endif

}  // namespace tidex
