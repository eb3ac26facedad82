#include "console/console_fields.h"

#include "common/settings.h"
#include "common/text_codec.h"
#include "console/form1.h"

namespace tidex {
namespace {

void loadField(Form1& console, const QString& key, TextBox& field) {
  console.Text6.setText(QString());
  field.setText(ReadSetting(QStringLiteral("setup"), key, QStringLiteral("No Settings")));
  if (auto decoded = DecodeText(field.Text())) console.Text6.setText(*decoded);
  field.setText(console.Text6.Text());
}

void saveField(Form1& console, TextBox& field, const QString& key) {
  console.Text6.setText(EncodeText(field.Text()));
  WriteSetting(QStringLiteral("setup"), key, console.Text6.Text());
}

}  // namespace

void LoadConsoleFields(Form1& console) {
  loadField(console, QStringLiteral("001"), console.Text1);
  loadField(console, QStringLiteral("002"), console.Text2);
  loadField(console, QStringLiteral("003"), console.Text3);
  loadField(console, QStringLiteral("005"), console.Text11);
}

void SaveConsoleFields(Form1& console, bool withLocation) {
  saveField(console, console.Text1, QStringLiteral("001"));
  saveField(console, console.Text2, QStringLiteral("002"));
  saveField(console, console.Text3, QStringLiteral("003"));
  if (withLocation) saveField(console, console.Text11, QStringLiteral("005"));
}

}  // namespace tidex
