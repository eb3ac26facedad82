#include "common/text/text_codec.h"

#include <gtest/gtest.h>

#include "test_printers.h"

namespace tidex {
using namespace Qt::StringLiterals;
namespace {

TEST(TextCodec, Rfc4648Vectors) {
  const std::pair<QString, QString> vectors[] = {
      {u""_s, u""_s},
      {u"f"_s, u"Zg=="_s},
      {u"fo"_s, u"Zm8="_s},
      {u"foo"_s, u"Zm9v"_s},
      {u"foob"_s, u"Zm9vYg=="_s},
      {u"fooba"_s, u"Zm9vYmE="_s},
      {u"foobar"_s, u"Zm9vYmFy"_s},
  };
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(EncodeText(plain), encoded);
    EXPECT_EQ(DecodeText(encoded), plain) << encoded.toStdString();
  }
}

TEST(TextCodec, EncodesCodePageBytes) {
  EXPECT_EQ(EncodeText(u"中"_s), u"pKQ="_s);
  EXPECT_EQ(EncodeText(u"單海掛"_s), u"s+au/LG+"_s);
  EXPECT_EQ(DecodeText(u"s+au/LG+"_s), u"單海掛"_s);
  EXPECT_EQ(EncodeText(u"\u05D0"_s), u"Pw=="_s);  // unmappable: '?'
  for (char16_t letter = u'A'; letter <= u'z'; ++letter) {
    const QString text(QChar{letter});
    EXPECT_EQ(DecodeText(EncodeText(text)), text);
  }
}

TEST(TextCodec, LengthsThatDoNotFillTheLastGroup) {
  EXPECT_EQ(DecodeText(u"Zm9vY"_s), u"foo"_s);  // 4k+1: last character ignored
  EXPECT_EQ(DecodeText(u"Z"_s), u""_s);
  EXPECT_EQ(DecodeText(u""_s), u""_s);
  const QString errors[] = {u"Zm9vYm"_s, u"Zm9vYmE"_s, u"Zm"_s, u"Zm9"_s, u"No Settings"_s};
  for (const QString& text : errors)
    EXPECT_EQ(DecodeText(text), std::nullopt) << text.toStdString();
}

TEST(TextCodec, OutsideAlphabetCountsAsZero) {
  // '!' is 0: Z!9v gives 'd', 0x0F, 'o'; decoding goes on into the next group.
  EXPECT_EQ(DecodeText(u"Z!9vYmFy"_s), u"d\u000Fobar"_s);
  EXPECT_EQ(DecodeText(u"Zm9v\u4E2D\u4E2DYmFy"_s), u"foo"_s);  // two double-byte characters
  // Padding inside the text produces NULs and the text ends there.
  EXPECT_EQ(DecodeText(u"Zg==Zm9v"_s), u"f"_s);
  EXPECT_EQ(DecodeText(u"AAAAZm9v"_s), u""_s);
  EXPECT_EQ(DecodeText(u"===="_s), u""_s);
}

TEST(TextCodec, OddInputsDoNotCrash) {
  const QString nuls(7, QChar(u'\0'));
  EXPECT_EQ(EncodeText(nuls), u"AAAAAAAAAA=="_s);
  EXPECT_EQ(DecodeText(EncodeText(nuls)), u""_s);
  EXPECT_EQ(DecodeText(nuls), std::nullopt);
  EXPECT_EQ(DecodeText(QString(8, QChar(u'\0'))), u""_s);

  const QString lone = QString(QChar(0xD800)) + u"ab"_s + QChar(0xDFFF);
  EXPECT_EQ(DecodeText(EncodeText(lone)), u"?ab?"_s);
  EXPECT_EQ(DecodeText(lone), u"\u0001池"_s);  // "?ab?": 0, 26, 27, 0

  QString large;
  for (int i = 0; i < 100000; ++i) large += i % 5 ? QChar(u'0' + i % 10) : QChar(u'海');
  const QString encoded = EncodeText(large);
  EXPECT_EQ(encoded.size(), (120000 + 2) / 3 * 4);
  EXPECT_EQ(DecodeText(encoded), large);
  EXPECT_NO_FATAL_FAILURE(DecodeText(large));
  EXPECT_NO_FATAL_FAILURE(DecodeText(large + u'x'));
}

}  // namespace
}  // namespace tidex
