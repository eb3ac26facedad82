#include <gtest/gtest.h>

#include <QStringList>

#include "platform/ansi_text.h"
#include "platform/sim/sim_html_parser.h"
#include "platform/sim/sim_inner_text.h"
#include "platform/sim/sim_web.h"
#include "sites/port_sites.h"
#include "test_printers.h"

namespace tidex::sites {
using namespace Qt::StringLiterals;
namespace {

const QByteArray kPermits = "/DGOC/sea/sea/ISL000I3.jsp";
const QByteArray kFees = "/DGOC/sea/sea/IS1T01W.jsp";

// The phrases a client recognises the database's answers by.
const QStringList kPhrases = {u"實櫃總數：<0>"_s, u"實櫃總數："_s,         u"KHH1080"_s,
                              u"請稍後再試"_s,    u"查詢訊息：查詢成功"_s, u"實卸貨櫃數含短卸：0"_s,
                              u"邏輯處理不正確"_s};

// The page the database answers for a number (as the query value is sent), as a browser
// renders it.
QString pageText(PortSites& sites, const QByteArray& path, const QByteArray& number) {
  const QByteArray query =
      path == kPermits ? "vsl_reg_no=" + number + "&ship_co_cd=&ware_cd=&mft_no=&start_data_index=1"
                       : "vsl_reg_no=" + number;
  const SiteResponse page = sites.handle({"GET", path, query, {}});
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.contentType, "text/html; charset=big5");
  EXPECT_TRUE(page.body.contains("charset=big5")) << "the page declares its charset";
  const QString html = fromAnsi(page.body);
  EXPECT_EQ(toAnsi(html), page.body);
  EXPECT_NE(html.toUtf8(), page.body) << "Big5, not UTF-8";
  return InnerText(ParseHtml(DecodePage(page.contentType, page.body).html));
}

// Which of the phrases the text holds.
QStringList phrasesIn(const QString& text) {
  QStringList found;
  for (const QString& phrase : kPhrases) {
    if (text.contains(phrase)) found << phrase;
  }
  return found;
}

TEST(CustomsService, AnswersEachNumbersPermitsAndFeesWithTheirPhrases) {
  PortSites sites;
  auto& customs = sites.customs();
  customs.setPermits(u"01VXXX"_s, {{u"KHH1080"_s, 12}, {u"KHH2010"_s, 0}});
  customs.setPermits(u"02vyyy"_s, {{u"KHH2010"_s, 5}});
  customs.setPermits(u"03VZZZ"_s, {{u"KHH1080"_s, 0}});
  customs.setFeesRegistered(u"01VXXX"_s, true);
  customs.setFeesRegistered(u"04VWWW"_s, true);
  customs.setFeesRegistered(u"04VWWW"_s, false);

  struct Case {
    QByteArray path;
    QByteArray number;  // as sent
    QStringList phrases;
    QString alsoShown;
  };
  const QString laden = u"實櫃總數："_s;
  const QString noLaden = u"實櫃總數：<0>"_s;
  const QString registered = u"查詢訊息：查詢成功"_s;
  const QString notRegistered = u"實卸貨櫃數含短卸：0"_s;
  const Case cases[] = {
      {kPermits, "01VXXX", {laden, u"KHH1080"_s}, u"實櫃總數：<12>"_s},
      {kPermits, "%2001vxxx%20", {laden, u"KHH1080"_s}, u"01vxxx"_s},
      {kPermits, "02VYYY", {laden}, u"KHH2010\t5"_s},
      {kPermits, "03VZZZ", {noLaden, laden, u"KHH1080"_s}, {}},
      {kPermits, "09NONE", {noLaden, laden}, u"09NONE"_s},
      {kPermits, "", {noLaden, laden}, {}},
      {kFees, "01VXXX", {registered}, u"實卸貨櫃數含短卸：12"_s},
      {kFees, "02VYYY", {notRegistered}, {}},
      {kFees, "04VWWW", {notRegistered}, {}},
      {kFees, "09NONE", {notRegistered}, u"09NONE"_s},
  };
  for (const Case& c : cases) {
    const QString text = pageText(sites, c.path, c.number);
    EXPECT_EQ(phrasesIn(text), c.phrases) << c.path.data() << " " << c.number.data() << ":\n"
                                          << text.toStdString();
    EXPECT_TRUE(text.contains(c.alsoShown)) << text.toStdString();
  }
  EXPECT_EQ(sites.requestLog().back(), u"GET /DGOC/sea/sea/IS1T01W.jsp?vsl_reg_no=09NONE"_s);
  EXPECT_EQ(sites.handle({"GET", "/DGOC/sea/sea/other.jsp", {}, {}}).status, 404);
}

TEST(CustomsService, BusyAndErrorPagesPerNumberAndQueryUntilSetBackOrReset) {
  PortSites sites;
  auto& customs = sites.customs();
  customs.setPermits(u"01VXXX"_s, {{u"KHH1080"_s, 3}});
  customs.setFeesRegistered(u"01VXXX"_s, true);
  const QString busy = u"請稍後再試"_s;
  const QString error = u"邏輯處理不正確"_s;
  const QString registered = u"查詢訊息：查詢成功"_s;

  customs.setTrouble(u"01vxxx"_s, CustomsQuery::Permits, CustomsTrouble::Busy);
  customs.setTrouble(u"05VBAD"_s, CustomsQuery::Fees, CustomsTrouble::ProcessingError);
  struct Case {
    QByteArray path;
    QByteArray number;
    QStringList phrases;
  };
  const Case troubled[] = {
      {kPermits, "01VXXX", {busy}},
      {kFees, "01VXXX", {registered}},
      {kPermits, "05VBAD", {u"實櫃總數：<0>"_s, u"實櫃總數："_s}},
      {kFees, "05VBAD", {error}},
      {kPermits, "02VYYY", {u"實櫃總數：<0>"_s, u"實櫃總數："_s}},
  };
  for (const Case& c : troubled) {
    EXPECT_EQ(phrasesIn(pageText(sites, c.path, c.number)), c.phrases)
        << c.path.data() << " " << c.number.data();
  }

  customs.setTrouble(u"01VXXX"_s, CustomsQuery::Permits, CustomsTrouble::None);
  EXPECT_EQ(phrasesIn(pageText(sites, kPermits, "01VXXX")),
            (QStringList{u"實櫃總數："_s, u"KHH1080"_s}))
      << "the number's own answer again";
  customs.setTrouble(u"01VXXX"_s, CustomsQuery::Fees, CustomsTrouble::ProcessingError);
  customs.reset();
  EXPECT_EQ(phrasesIn(pageText(sites, kFees, "01VXXX")), QStringList{u"實卸貨櫃數含短卸：0"_s});
  EXPECT_EQ(phrasesIn(pageText(sites, kFees, "05VBAD")), QStringList{u"實卸貨櫃數含短卸：0"_s});
}

}  // namespace
}  // namespace tidex::sites
