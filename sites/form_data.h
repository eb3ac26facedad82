#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>

#include "site_request.h"

namespace tidex::sites {

// Decoded name=value pairs of a form, in the order sent.
using FormFields = std::vector<std::pair<QString, QString>>;

// Parses application/x-www-form-urlencoded data whose bytes are Big5.
FormFields ParseFormData(const QByteArray& data);

// The fields of the query followed by those of a POSTed body.
FormFields RequestFields(const SiteRequest& request);

// The value of the first field named name (exact); nullopt when there is none.
std::optional<QString> FieldValue(const FormFields& fields, const QString& name);

// The values of every cookie named name in a Cookie header, in the order sent.
std::vector<QByteArray> CookieValues(const QByteArray& cookieHeader, const QByteArray& name);

}  // namespace tidex::sites
