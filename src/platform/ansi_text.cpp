#include "platform/ansi_text.h"

#include <iconv.h>

namespace tidex {
namespace {

// An iconv descriptor opened on first use and kept for the life of the process.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of in; returns the number of bytes written, or -1 when in does not convert
  // completely.
  int convert(const char* in, size_t inSize, char* out, size_t outSize) {
    if (!valid()) return -1;
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    size_t inLeft = inSize;
    size_t outLeft = outSize;
    const size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
    if (result == static_cast<size_t>(-1) || inLeft != 0) {
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
      return -1;
    }
    return static_cast<int>(outPtr - out);
  }

 private:
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  iconv_t cd_;
};

Converter& encoder() {
  static Converter converter("CP950", "UTF-32LE");
  return converter;
}

Converter& decoder() {
  static Converter converter("UTF-32LE", "CP950");
  return converter;
}

bool isLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

// Appends the code page bytes of one non-ASCII code point, or '?'.
void appendEncoded(char32_t codePoint, QByteArray& out) {
  const char in[4] = {static_cast<char>(codePoint & 0xFF), static_cast<char>(codePoint >> 8 & 0xFF),
                      static_cast<char>(codePoint >> 16 & 0xFF),
                      static_cast<char>(codePoint >> 24 & 0xFF)};
  char bytes[8];
  const int n = encoder().convert(in, sizeof in, bytes, sizeof bytes);
  // glibc drops tag characters without output: those do not map either.
  if (n <= 0) {
    out.append('?');
  } else {
    out.append(bytes, n);
  }
}

// Appends the character that a lead and a trail byte stand for, or '?'.
void appendDecoded(char lead, char trail, QString& out) {
  const char in[2] = {lead, trail};
  char wide[16];
  const int n = decoder().convert(in, sizeof in, wide, sizeof wide);
  if (n != 4) {
    out.append(QLatin1Char('?'));
    return;
  }
  const char32_t codePoint = static_cast<unsigned char>(wide[0]) |
                             static_cast<unsigned char>(wide[1]) << 8 |
                             static_cast<unsigned char>(wide[2]) << 16 |
                             static_cast<char32_t>(static_cast<unsigned char>(wide[3])) << 24;
  if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000)) {
    out.append(QLatin1Char('?'));
  } else if (QChar::requiresSurrogates(codePoint)) {
    out.append(QChar(QChar::highSurrogate(codePoint)));
    out.append(QChar(QChar::lowSurrogate(codePoint)));
  } else {
    out.append(QChar(static_cast<char16_t>(codePoint)));
  }
}

}  // namespace

QByteArray toAnsi(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  const qsizetype size = text.size();
  const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t unit = units[i];
    if (unit < 0x80) {
      out.append(static_cast<char>(unit));
    } else if (QChar::isHighSurrogate(unit) && i + 1 < size &&
               QChar::isLowSurrogate(units[i + 1])) {
      appendEncoded(QChar::surrogateToUcs4(unit, units[i + 1]), out);
      ++i;
    } else if (QChar::isSurrogate(unit)) {
      out.append('?');
    } else {
      appendEncoded(unit, out);
    }
  }
  return out;
}

QString fromAnsi(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  const qsizetype size = bytes.size();
  const char* data = bytes.constData();
  for (qsizetype i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    if (byte < 0x80) {
      out.append(QChar(static_cast<char16_t>(byte)));
    } else if (!isLeadByte(byte) || i + 1 == size) {
      out.append(QLatin1Char('?'));
    } else {
      appendDecoded(data[i], data[i + 1], out);
      ++i;
    }
  }
  return out;
}

}  // namespace tidex
