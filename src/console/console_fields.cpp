#include "console/console_fields.h"

#include "common/settings/settings.h"
#include "common/settings/settings_keys.h"
#include "common/text/text_codec.h"
#include "console/console_window.h"

namespace tidex {
namespace {

// A stored value that does not decode leaves the field empty.
void loadField(const QString& key, TextBox& field) {
  field.setText(DecodeText(ReadSetting(settings_keys::kSetup, key, QStringLiteral("No Settings")))
                    .value_or(QString()));
}

void saveField(const TextBox& field, const QString& key) {
  WriteSetting(settings_keys::kSetup, key, EncodeText(field.Text()));
}

// An account the file cannot hold as typed keeps the one stored before; never a '?' in its place.
void saveSecretField(const TextBox& field, const QString& key) {
  WriteSecretSetting(settings_keys::kSetup, key, field.Text());
}

}  // namespace

void LoadConsoleFields(ConsoleWindow& console) {
  loadField(settings_keys::kAccount, console.accountField);
  loadField(settings_keys::kPassword, console.passwordField);
  loadField(settings_keys::kRegistrationNumber, console.registrationField);
  loadField(settings_keys::kLocation, console.locationField);
}

void SaveConsoleFields(ConsoleWindow& console, bool withLocation) {
  saveSecretField(console.accountField, settings_keys::kAccount);
  saveSecretField(console.passwordField, settings_keys::kPassword);
  saveField(console.registrationField, settings_keys::kRegistrationNumber);
  if (withLocation) saveField(console.locationField, settings_keys::kLocation);
}

}  // namespace tidex
