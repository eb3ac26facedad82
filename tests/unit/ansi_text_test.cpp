#include "platform/ansi_text.h"

#include <gtest/gtest.h>

#include "test_printers.h"

namespace tidex {
using namespace Qt::StringLiterals;
namespace {

QByteArray bytes(const char* data, qsizetype size) { return QByteArray(data, size); }

TEST(AnsiText, EncodesKnownCharacters) {
  EXPECT_EQ(toAnsi(QString()), QByteArray());
  EXPECT_EQ(toAnsi(u"Abc 123"_s), QByteArray("Abc 123"));
  EXPECT_EQ(toAnsi(u"單海掛"_s), QByteArray("\xB3\xE6\xAE\xFC\xB1\xBE"));
  EXPECT_EQ(toAnsi(u"a中b"_s), QByteArray("a\xA4\xA4"
                                          "b"));
  EXPECT_EQ(toAnsi(QString(QChar(u'\0'))), bytes("\0", 1));
}

TEST(AnsiText, UnmappableCharacterBecomesOneQuestionMark) {
  struct Case {
    QString text;
    QByteArray expected;
  };
  const Case cases[] = {
      {u"x\u05D0y"_s, "x?y"},                          // Hebrew letter
      {u"\u00E9"_s, "?"},                              // no best-fit to 'e'
      {QString::fromUcs4(U"a\U0001F600b"), "a?b"},     // surrogate pair is one character
      {QString::fromUcs4(U"\U000E0041"), "?"},         // dropped silently by iconv
      {QString(QChar(0xD800)) + u"z"_s, "?z"},         // lone high surrogate
      {u"z"_s + QChar(0xDC00), "z?"},                  // lone low surrogate
      {QString(QChar(0xDC00)) + QChar(0xD800), "??"},  // reversed pair
      {u"\uFFFF"_s, "?"},
  };
  for (const Case& c : cases) EXPECT_EQ(toAnsi(c.text), c.expected) << c.text.toStdString();
}

TEST(AnsiText, DecodesPairsAndSingles) {
  struct Case {
    QByteArray in;
    QString expected;
  };
  const Case cases[] = {
      {"", u""_s},
      {"\xA4\xA4", u"中"_s},
      {"a\xA4", u"a?"_s},      // lead byte at the end
      {"\xA4\x20x", u"?x"_s},  // pair that does not map takes both bytes
      {"\x80"
       "A",
       u"?A"_s},                        // 0x80 stands alone
      {"\xFF\xA4\xA4", u"?中"_s},       // so does 0xFF
      {"\xA4\x41\xA4\x61", u"乙兀"_s},  // trail bytes in the ASCII range
      {"\xA4\xA4\xA4", u"中?"_s},
  };
  for (const Case& c : cases) EXPECT_EQ(fromAnsi(c.in), c.expected) << c.in.toHex().toStdString();
  EXPECT_EQ(fromAnsi(bytes("a\0b", 3)), u"a\0b"_s);
}

TEST(AnsiText, RoundTripsRepresentableText) {
  const QString texts[] = {u"plain ASCII ~!@#"_s, u"單海掛"_s, u"中文 mixed 文字 123"_s,
                           u"nul\0inside"_s};
  for (const QString& text : texts) EXPECT_EQ(fromAnsi(toAnsi(text)), text);
}

TEST(AnsiText, LargeInputs) {
  QString text;
  for (int i = 0; i < 50000; ++i) text += i % 3 ? QChar(u'a' + i % 26) : QChar(u'中');
  text += QChar(0xD800);
  const QByteArray encoded = toAnsi(text);
  EXPECT_EQ(encoded.size(), 50000 + 16667 + 1);
  EXPECT_EQ(fromAnsi(encoded), text.chopped(1) + u'?');

  QByteArray noise(100000, '\0');
  for (int i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 7919 % 256);
  EXPECT_FALSE(fromAnsi(noise).isEmpty());
}

}  // namespace
}  // namespace tidex
