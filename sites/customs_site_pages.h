#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

namespace tidex::sites {

// One discharge permit of a vessel call: where its containers are discharged and stored, and
// how many of them are laden.
struct DischargePermit {
  QString location;  // "KHH1080"
  int laden = 0;
};

// The customs database's pages in Big5, each with the phrases a client recognises its answer
// by: the permit list ("實櫃總數：<n>"), the port-fee record ("查詢訊息：查詢成功" when
// registered, "實卸貨櫃數含短卸：0" when not), the busy page ("請稍後再試") and the
// processing-error page ("邏輯處理不正確").
namespace customs_pages {

QByteArray Permits(const QString& registration, const std::vector<DischargePermit>& permits);
// discharged: the containers discharged, short-landed included, shown when registered.
QByteArray Fees(const QString& registration, bool registered, int discharged);
QByteArray Busy();
QByteArray ProcessingError();

}  // namespace customs_pages
}  // namespace tidex::sites
