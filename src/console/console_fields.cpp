#include "console/console_fields.h"

#include "common/settings.h"
#include "common/text_codec.h"
#include "console/console_window.h"

namespace tidex {
namespace {

// A stored value that does not decode leaves the field empty.
void loadField(const QString& key, TextBox& field) {
  field.setText(DecodeText(ReadSetting(QStringLiteral("setup"), key, QStringLiteral("No Settings")))
                    .value_or(QString()));
}

void saveField(const TextBox& field, const QString& key) {
  WriteSetting(QStringLiteral("setup"), key, EncodeText(field.Text()));
}

}  // namespace

void LoadConsoleFields(ConsoleWindow& console) {
  loadField(QStringLiteral("001"), console.accountField);
  loadField(QStringLiteral("002"), console.passwordField);
  loadField(QStringLiteral("003"), console.registrationField);
  loadField(QStringLiteral("005"), console.locationField);
}

void SaveConsoleFields(ConsoleWindow& console, bool withLocation) {
  saveField(console.accountField, QStringLiteral("001"));
  saveField(console.passwordField, QStringLiteral("002"));
  saveField(console.registrationField, QStringLiteral("003"));
  if (withLocation) saveField(console.locationField, QStringLiteral("005"));
}

}  // namespace tidex
