#include "common/text/text_codec.h"

#include <QByteArray>

#include "platform/ansi_text.h"

namespace tidex {
namespace {

int sextet(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return 0;
}

}  // namespace

QString EncodeText(const QString& text) { return QString::fromLatin1(toAnsi(text).toBase64()); }

std::optional<QString> DecodeText(const QString& text) {
  const QByteArray in = toAnsi(text);
  const qsizetype n = in.size();
  QByteArray out(n / 4 * 3 + 3, '\0');
  for (qsizetype pos = 0, at = 0; pos < n - 1; pos += 4, at += 3) {
    if (pos + 3 >= n) return std::nullopt;
    const int a = sextet(in[pos]);
    const int b = sextet(in[pos + 1]);
    const int c = sextet(in[pos + 2]);
    const int d = sextet(in[pos + 3]);
    out[at] = static_cast<char>(a << 2 | b >> 4);
    out[at + 1] = static_cast<char>((b & 0xF) << 4 | c >> 2);
    out[at + 2] = static_cast<char>((c & 0x3) << 6 | d);
  }
  const QString decoded = fromAnsi(out);
  const qsizetype nul = decoded.indexOf(QChar(u'\0'));
  return nul < 0 ? decoded : decoded.first(nul);
}

}  // namespace tidex
