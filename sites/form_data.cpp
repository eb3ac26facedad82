#include "form_data.h"

#include <QList>

#include "board_search.h"

namespace tidex::sites {

FormFields ParseFormData(const QByteArray& data) {
  FormFields fields;
  for (const QByteArray& pair : data.split('&')) {
    if (pair.isEmpty()) continue;
    const qsizetype equals = pair.indexOf('=');
    if (equals < 0) {
      fields.emplace_back(DecodeFormValue(pair), QString());
    } else {
      fields.emplace_back(DecodeFormValue(pair.left(equals)),
                          DecodeFormValue(pair.mid(equals + 1)));
    }
  }
  return fields;
}

FormFields RequestFields(const SiteRequest& request) {
  FormFields fields = ParseFormData(request.query);
  if (request.method == "POST") {
    for (auto& field : ParseFormData(request.body)) fields.push_back(std::move(field));
  }
  return fields;
}

std::optional<QString> FieldValue(const FormFields& fields, const QString& name) {
  for (const auto& [key, value] : fields) {
    if (key == name) return value;
  }
  return std::nullopt;
}

std::vector<QByteArray> CookieValues(const QByteArray& cookieHeader, const QByteArray& name) {
  std::vector<QByteArray> values;
  for (const QByteArray& part : cookieHeader.split(';')) {
    const qsizetype equals = part.indexOf('=');
    if (equals >= 0 && part.left(equals).trimmed() == name) {
      values.push_back(part.mid(equals + 1).trimmed());
    }
  }
  return values;
}

}  // namespace tidex::sites
