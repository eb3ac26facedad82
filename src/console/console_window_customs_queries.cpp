#include <optional>

#include "common/alerting/timed_box.h"
#include "common/page/page_wait.h"
#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "console/console_window.h"

namespace tidex {
namespace {

const QString kBusy = QStringLiteral("系統忙錄中，請稍後再試。 ");

// The registration number as a query value. A number never holds these characters; typed into
// the field they would end the value, start a fragment or decode to something else, and the
// database would answer for another number than the message names.
QString queryValue(const QString& number) {
  QString value;
  for (const QChar c : number) {
    switch (c.unicode()) {
      case u'%':
      case u'&':
      case u'#':
      case u'+':
      case u' ':
        value += u'%' + QString::number(static_cast<int>(c.unicode()), 16).toUpper();
        break;
      default:
        value += c;
    }
  }
  return value;
}

// The message for a page of the customs database: the first rule the page text matches
// decides; none when no rule matches.
std::optional<QString> customsAnswer(const QString& page, const QString& number,
                                     const QString& location) {
  const QString permits = QStringLiteral("卸貨淮單：") + number;
  const QString laden = QStringLiteral("實櫃總數：");
  if (page.contains(laden + QStringLiteral("<0>"))) {
    return permits + QStringLiteral(" 尚未收到重櫃資料。 ");
  }
  if (page.contains(laden) && page.contains(location)) {
    return permits + QStringLiteral(" 含 ") + location + QStringLiteral(" 重櫃。 ");
  }
  if (page.contains(laden)) return permits + QStringLiteral(" 有卸重櫃。 ");
  if (page.contains(QStringLiteral("請稍後再試"))) return kBusy;
  if (page.contains(QStringLiteral("查詢訊息：查詢成功"))) {
    return number + QStringLiteral(" 規費 已 登錄。 ");
  }
  if (page.contains(QStringLiteral("實卸貨櫃數含短卸：0"))) {
    return number + QStringLiteral(" 規費 未 登錄。 ");
  }
  if (page.contains(QStringLiteral("邏輯處理不正確"))) return kBusy;
  return std::nullopt;
}

}  // namespace

void ConsoleWindow::queryCustomsPermit() {
  customsBrowser.Navigate2(ServerAddress(settings_keys::kServerCustoms) +
                           QStringLiteral("/DGOC/sea/sea/ISL000I3.jsp?vsl_reg_no=") +
                           queryValue(registrationField.Text()) +
                           QStringLiteral("&ship_co_cd=&ware_cd=&mft_no=&start_data_index=1"));
}

void ConsoleWindow::queryFeeRegistration() {
  customsBrowser.Navigate2(ServerAddress(settings_keys::kServerCustoms) +
                           QStringLiteral("/DGOC/sea/sea/IS1T01W.jsp?vsl_reg_no=") +
                           queryValue(registrationField.Text()));
}

Task ConsoleWindow::onCustomsPageComplete() {
  co_await PageWait(customsBrowser);
  const auto document = customsBrowser.Document();
  const HtmlElement root = document ? document->documentElement() : HtmlElement();
  // An unreadable page keeps the previous page's text but answers nothing: that text answered
  // another query, perhaps for another number.
  if (!root.valid()) co_return;
  customsPageText_ = root.innerText();
  const std::optional<QString> message =
      customsAnswer(customsPageText_, registrationField.Text(), locationField.Text());
  if (message) co_await ShowTimedBox(*message, BoxButtons::Ok);
}

}  // namespace tidex
