#include "platform/qt/qt_engine_probe.h"

#include <QWebEnginePage>
#include <QWebEngineScript>

#include "platform/qt/qt_web_profile.h"

namespace tidex {
namespace {
const QString kProbeTitle = QStringLiteral("tidex-probe");
}  // namespace

QtEngineProbe::QtEngineProbe(std::chrono::milliseconds limit, std::function<void(bool)> answered)
    : answered_(std::move(answered)) {
  limit_.setSingleShot(true);
  connect(&limit_, &QTimer::timeout, this, [this] { finish(false); });
  limit_.start(limit);
  page_ = new QWebEnginePage(&sharedWebProfile(), this);
  connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
    if (!ok) return;  // the limit decides
    QPointer<QtEngineProbe> self(this);
    page_->runJavaScript(QStringLiteral("document.title"), QWebEngineScript::ApplicationWorld,
                         [self](const QVariant& title) {
                           if (self && title.toString() == kProbeTitle) self->finish(true);
                         });
  });
  page_->setHtml(QStringLiteral("<!DOCTYPE html><title>%1</title><p>1</p>").arg(kProbeTitle));
}

QtEngineProbe::~QtEngineProbe() {
  done_ = true;
  if (page_) {
    page_->disconnect(this);
    delete page_.data();
  }
}

void QtEngineProbe::finish(bool works) {
  if (done_) return;
  done_ = true;
  limit_.stop();
  QPointer<QtEngineProbe> self(this);
  Desktop::current().post([self, works] {
    if (self && self->answered_) self->answered_(works);
  });
}

}  // namespace tidex
