#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "board_path.h"
#include "monitors/pilotboard/board_text.h"
#include "platform/ansi_text.h"
#include "platform/sim/sim_form_submission.h"
#include "platform/sim/sim_html_parser.h"
#include "platform/sim/sim_inner_text.h"
#include "platform/sim/sim_web.h"
#include "sites/board_demo.h"
#include "sites/board_search.h"
#include "sites/board_service.h"
#include "sites/pilot_roster.h"
#include "sites/port_sites.h"
#include "test_printers.h"

namespace tidex::sites {
using namespace Qt::StringLiterals;
namespace {

const QByteArray kWharfQuery =
    "QSP_ID=&QSP_ENAME=&QSP_PORT=1108&QSP_PAGID=&SP_CALL=&SEARCH=1&iPage=&OK=%B7j%B4M";

SiteResponse get(const BoardService& board, const QByteArray& query) {
  return board.handle({"GET", kBoardPath.toLatin1(), query, {}});
}

SimDom dom(const SiteResponse& response) {
  return ParseHtml(DecodePage(response.contentType, response.body).html);
}

// The page text as a browser renders it.
QString text(const SiteResponse& response) { return InnerText(dom(response)); }

QStringList pilotEntries() {
  QStringList entries;
  for (const auto& [number, name] : KnownPilots()) entries << number + name;
  return entries;
}

// What a wharf monitor compares.
QString wharfView(const BoardService& board, const QByteArray& query = kWharfQuery) {
  return NormaliseBoardText(text(get(board, query)), pilotEntries());
}

// The element index of the INPUT with this name, or -1.
int inputNamed(const SimDom& page, const QString& name) {
  for (int e = 0; e < page.elementCount(); ++e) {
    const int node = page.elementNode(e);
    if (page.node(node).tag == u"INPUT" && page.attribute(node, u"name") == name) return e;
  }
  return -1;
}

VesselCall callAt(const QString& vessel, const QString& wharf, const QString& pilot) {
  VesselCall call;
  call.vessel = vessel;
  call.wharf = wharf;
  call.pilotNumber = pilot;
  return call;
}

QStringList vessels(const std::vector<VesselCall>& calls) {
  QStringList names;
  for (const VesselCall& call : calls) names << call.vessel;
  return names;
}

TEST(BoardPage, IsBig5WithTheCharsetDeclaredAndTheTextsTheMonitorsRelyOn) {
  const BoardService board;
  const SiteResponse page = get(board, kWharfQuery);
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.contentType, "text/html; charset=big5");
  EXPECT_TRUE(
      page.body.contains(R"(<meta http-equiv="Content-Type" content="text/html; charset=big5">)"));
  EXPECT_TRUE(page.body.contains(toAnsi(u"<title>引水資訊看板</title>"_s)));
  EXPECT_TRUE(page.body.contains("value=\"\xB7j\xB4M\"")) << "搜尋 in Big5";

  const QString rendered = text(page);
  EXPECT_TRUE(rendered.contains(u"引水資訊看板 (UA1006)"_s)) << rendered.toStdString();
  EXPECT_TRUE(rendered.contains(u"最近動態"_s));
  EXPECT_EQ(get(board, kWharfQuery).body, page.body) << "an unchanged board loads the same";
}

TEST(BoardPage, SearchFormIsPrefilledAndSubmitsTheBoardQuery) {
  const BoardService board;
  SimDom page = dom(get(board, "QSP_ID=7&QSP_ENAME=ym+harmony&QSP_PORT=&SP_CALL=X1&iPage=2"));

  const int port = inputNamed(page, u"QSP_PORT"_s);
  const int name = inputNamed(page, u"QSP_ENAME"_s);
  const int submit = inputNamed(page, u"OK"_s);
  ASSERT_GE(port, 0);
  ASSERT_GE(name, 0);
  ASSERT_GT(submit, port) << "the monitors fill the field before they meet the button";
  EXPECT_EQ(page.attribute(page.elementNode(port), u"type"), u"text");
  EXPECT_EQ(page.attribute(page.elementNode(name), u"type"), u"text");
  EXPECT_EQ(page.attribute(page.elementNode(submit), u"type"), u"submit");
  EXPECT_EQ(page.node(page.elementNode(name)).value, u"ym harmony");
  for (const char* hidden : {"QSP_ID", "QSP_PAGID", "SP_CALL", "SEARCH", "iPage"}) {
    const int e = inputNamed(page, QString::fromLatin1(hidden));
    ASSERT_GE(e, 0) << hidden;
    EXPECT_EQ(page.attribute(page.elementNode(e), u"type"), u"hidden") << hidden;
  }

  page.setValue(port, u"1110"_s);
  page.setValue(name, QString());
  const auto request = ClickRequest(page, submit, u"http://board.test"_s + kBoardPath + u"?x=1"_s,
                                    PageCharset::Big5);
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->method, "GET");
  EXPECT_EQ(request->url, u"http://board.test"_s + kBoardPath +
                              u"?QSP_PORT=1110&QSP_ENAME=&QSP_ID=7&QSP_PAGID=&"
                              "SP_CALL=X1&SEARCH=1&iPage=2&OK=%B7j%B4M"_s);

  const QByteArray query = request->url.section(u'?', 1).toLatin1();
  EXPECT_EQ(vessels(BoardSearch::FromQuery(query).select(board.calls())),
            (QStringList{u"KMTC TAIPEI"_s, u"OOCL FORMOSA"_s}));
}

TEST(BoardSearch, SelectsByWharfElseByVesselNameElseAll) {
  BoardService board;
  board.addCall(callAt(u"台灣之星"_s, u"1108"_s, u"0037"_s));
  const QByteArray big5Name = toAnsi(u"灣之"_s).toPercentEncoding();
  struct Case {
    QByteArray query;
    QStringList expected;
  };
  const Case cases[] = {
      {"QSP_PORT=1110&QSP_ENAME=YM", {u"KMTC TAIPEI"_s, u"OOCL FORMOSA"_s}},
      {"qsp_port=1070", {u"TS KEELUNG"_s}},
      {"QSP_PORT=9999", {}},
      {"QSP_ENAME=ym+harmony", {u"YM HARMONY"_s}},
      {"QSP_ENAME=YM%20HARMONY&QSP_PORT=", {u"YM HARMONY"_s}},
      {"QSP_ENAME=YM HARMONY", {u"YM HARMONY"_s}},
      {"QSP_ENAME=" + big5Name, {u"台灣之星"_s}},
      {"QSP_ENAME=ta&QSP_ENAME=harmony", {u"KMTC TAIPEI"_s}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vessels(BoardSearch::FromQuery(c.query).select(board.calls())), c.expected)
        << c.query.toStdString();
  }
  EXPECT_EQ(BoardSearch::FromQuery("").select(board.calls()).size(), board.calls().size());
  EXPECT_EQ(BoardSearch::FromQuery("QSP_ENAME=").select(board.calls()).size(),
            board.calls().size());

  EXPECT_EQ(DecodeFormValue("a+b%2Bc"), u"a b+c");
  EXPECT_EQ(DecodeFormValue("%B7j%B4M"), u"搜尋");
  EXPECT_TRUE(text(get(board, "QSP_PORT=9999")).contains(u"查無資料"_s));
  const SimDom page = dom(get(board, "QSP_ENAME=" + big5Name));
  EXPECT_EQ(page.node(page.elementNode(inputNamed(page, u"QSP_ENAME"_s))).value, u"灣之")
      << "the field shows the decoded name again";
}

TEST(BoardPage, RowsShowPilotsMarksAndExemptions) {
  BoardService board;
  board.addCall(callAt(u"NEW PILOT"_s, u"1108"_s, u"0036"_s));
  const QString wharf1108 = text(get(board, "QSP_PORT=1108"));
  EXPECT_TRUE(wharf1108.contains(u"YM HARMONY\t1108\t有\t2026/12/08\t14:30\t2026/12/09\t06:20"_s))
      << wharf1108.toStdString();
  EXPECT_TRUE(wharf1108.contains(u"0037王大明\t/Y"_s));
  EXPECT_TRUE(wharf1108.contains(u"0052\r\n洪斌"_s)) << "a split pilot: two cells, two lines";
  EXPECT_TRUE(wharf1108.contains(u"免引水\t/N"_s));
  EXPECT_TRUE(wharf1108.contains(u"\t0036\t/Y"_s)) << "an unknown number shows without a name";
  EXPECT_TRUE(text(get(board, "QSP_PORT=1110")).contains(u"0000引水人"_s));

  // The monitors drop blanks and line breaks, then every known pilot entry.
  const QString seen = wharfView(board);
  for (const QString& gone : {u"0037"_s, u"0052"_s, u"洪斌"_s, u"免引水"_s}) {
    EXPECT_FALSE(seen.contains(gone)) << gone.toStdString();
  }
  EXPECT_TRUE(seen.contains(u"0036"_s));
}

TEST(BoardService, EachChangeOfACallShowsOnlyWhereTheMonitorsLook) {
  struct Case {
    const char* what;
    std::function<bool(BoardService&)> change;
    bool seenByWharfMonitor;
  };
  const QString w = u"1108"_s, v = u"YM HARMONY"_s;
  const Case cases[] = {
      {"arrival time", [&](BoardService& b) { return b.setBerthTime(w, v, u"23:45"_s); }, true},
      {"arrival date", [&](BoardService& b) { return b.setBerthTime(w, v, u"2026/12/10 14:30"_s); },
       true},
      {"departure", [&](BoardService& b) { return b.setDepartureTime(w, v, u"07:20"_s); }, true},
      {"berth", [&](BoardService& b) { return b.setBerth(w, v, u"北4"_s); }, true},
      {"status", [&](BoardService& b) { return b.setStatus(w, v, u"靠泊中"_s); }, true},
      {"unknown pilot", [&](BoardService& b) { return b.assignPilot(w, v, u"0040"_s); }, true},
      {"known pilot", [&](BoardService& b) { return b.assignPilot(w, v, u"0090"_s); }, false},
      {"no pilot yet", [&](BoardService& b) { return b.assignPilot(w, v, u"0000"_s); }, false},
      {"exempt", [&](BoardService& b) { return b.assignPilot(w, v, QString()); }, false},
      {"split pilot",
       [&](BoardService& b) { return b.assignPilot(w, u"wan hai 316"_s, u"0035"_s); }, false},
      {"name", [&](BoardService& b) { return b.renameVessel(w, v, u"YM HARMONIC"_s); }, false},
  };
  for (const Case& c : cases) {
    BoardService board;
    const QByteArray before = get(board, kWharfQuery).body;
    const QString beforeSeen = wharfView(board);
    ASSERT_TRUE(c.change(board)) << c.what;
    EXPECT_NE(get(board, kWharfQuery).body, before) << c.what;
    EXPECT_EQ(wharfView(board) != beforeSeen, c.seenByWharfMonitor) << c.what;
  }

  BoardService board;
  board.setBerthTime(w, v, u"2026/12/10 01:05"_s);
  EXPECT_TRUE(text(get(board, kWharfQuery)).contains(u"2026/12/10\t01:05"_s));
  EXPECT_FALSE(board.setBerthTime(u"1110"_s, v, u"23:45"_s)) << "another wharf";
  EXPECT_FALSE(board.setStatus(w, u"YM"_s, u"靠泊中"_s)) << "the whole name";
  EXPECT_FALSE(board.assignPilot(u"1070"_s, u"NOBODY"_s, u"0037"_s));
  EXPECT_FALSE(board.renameVessel(w, u"NOBODY"_s, u"X"_s));
  board.clearCalls();
  EXPECT_FALSE(board.setBerth(w, v, u"北1"_s));
  EXPECT_TRUE(board.calls().empty());
}

TEST(BoardService, FailureModesTheLatestReplacingTheOthers) {
  BoardService board;
  board.failWith(500);
  SiteResponse answer = get(board, kWharfQuery);
  EXPECT_EQ(answer.status, 500);
  EXPECT_EQ(answer.delivery, SiteResponse::Delivery::Answer);
  EXPECT_EQ(answer.contentType, "text/html; charset=big5");
  EXPECT_TRUE(text(answer).contains(u"500"_s));
  EXPECT_TRUE(text(answer).contains(u"無法"_s));

  board.setUnreachable(true);
  EXPECT_EQ(get(board, kWharfQuery).delivery, SiteResponse::Delivery::Refused);
  board.setNeverCompletes(true);
  EXPECT_EQ(get(board, kWharfQuery).delivery, SiteResponse::Delivery::Never);
  board.setUnreachable(false);
  EXPECT_EQ(get(board, kWharfQuery).delivery, SiteResponse::Delivery::Never)
      << "clearing another mode changes nothing";
  board.setNeverCompletes(false);
  EXPECT_EQ(get(board, kWharfQuery).status, 200);

  board.failWith(503);
  board.setUnreachable(true);
  board.recover();
  answer = get(board, kWharfQuery);
  EXPECT_EQ(answer.status, 200);
  EXPECT_TRUE(text(answer).contains(u"YM HARMONY"_s));
}

TEST(PortSites, RoutesTheBoardAndLogsEveryRequestButRefusedOnes) {
  PortSites sites;
  const SiteRequest request{"GET", kBoardPath.toLatin1(), kWharfQuery, {}};
  EXPECT_EQ(sites.handle(request).status, 200);
  EXPECT_EQ(sites.handle({"GET", "/sdci/ua1006.asp", "QSP_PORT=1110", {}}).status, 200);
  sites.board().setUnreachable(true);
  EXPECT_EQ(sites.handle(request).delivery, SiteResponse::Delivery::Refused);
  sites.board().setNeverCompletes(true);
  EXPECT_EQ(sites.handle(request).delivery, SiteResponse::Delivery::Never);
  sites.board().recover();
  EXPECT_EQ(sites.respond(request).status, 200);
  EXPECT_EQ(sites.requestLog(),
            (QStringList{"GET " + kBoardPath + "?" + QString::fromLatin1(kWharfQuery),
                         u"GET /sdci/ua1006.asp?QSP_PORT=1110"_s,
                         "GET " + kBoardPath + "?" + QString::fromLatin1(kWharfQuery)}));

  sites.addPage(kBoardPath.toLatin1(), {200, "text/html; charset=big5", "<p>x</p>"});
  EXPECT_EQ(sites.handle(request).body, "<p>x</p>") << "a test page comes first";
}

TEST(BoardService, DefaultCallsAndTheDemoStep) {
  const BoardService board;
  std::set<QString> wharves;
  for (const VesselCall& call : board.calls()) wharves.insert(call.wharf);
  EXPECT_EQ(wharves, (std::set<QString>{u"1070"_s, u"1108"_s, u"1110"_s}));
  EXPECT_EQ(vessels(BoardSearch::FromQuery("QSP_PORT=1108").select(board.calls())).value(0),
            u"YM HARMONY");
  // Wharf 1108 is what the demo moves: its board must not read as a server error.
  EXPECT_FALSE(wharfView(board).contains(u"500"_s) || wharfView(board).contains(u"501"_s));
  EXPECT_TRUE(wharfView(board, "QSP_PORT=1110").contains(u"1500"_s));
  EXPECT_TRUE(wharfView(board, "QSP_PORT=1070").contains(u"0501"_s));

  BoardService demo;
  demo.setBerthTime(u"1108"_s, u"YM HARMONY"_s, u"2026/12/31 23:55"_s);
  EXPECT_EQ(AdvanceDemoArrival(demo, u"1108"_s),
            u"YM HARMONY at 1108: arrival 2026/12/31 23:55 -> 2027/01/01 00:05");
  demo.setBerthTime(u"1108"_s, u"YM HARMONY"_s, u"2026/12/08 14:50"_s);
  AdvanceDemoArrival(demo, u"1108"_s);
  EXPECT_EQ(demo.calls().front().arrivalTime, u"15:10") << "15:00 reads as 500";
  demo.setBerthTime(u"1108"_s, u"YM HARMONY"_s, u"2026/12/05 00:00"_s);
  AdvanceDemoArrival(demo, u"1108"_s);
  EXPECT_EQ(demo.calls().front().arrivalTime, u"02:00") << "05 then 00:xx or 01:xx reads 500/501";
  for (int step = 0; step < 300; ++step) {
    const QString before = wharfView(demo);
    ASSERT_FALSE(AdvanceDemoArrival(demo, u"1108"_s).isEmpty());
    const QString after = wharfView(demo);
    ASSERT_NE(after, before);
    ASSERT_FALSE(after.contains(u"500"_s) || after.contains(u"501"_s)) << after.toStdString();
  }
  EXPECT_TRUE(AdvanceDemoArrival(demo, u"9999"_s).isEmpty());
}

TEST(PilotRoster, HoldsTheFiftyThreeNumbersWithBig5Names) {
  QStringList expected{u"0035"_s, u"0037"_s, u"0039"_s};
  for (int n = 41; n <= 90; ++n) expected << u"%1"_s.arg(n, 4, 10, QLatin1Char('0'));
  QStringList numbers;
  std::set<QString> names;
  for (const auto& [number, name] : KnownPilots()) {
    numbers << number;
    names.insert(name);
    EXPECT_TRUE(name.size() == 2 || name.size() == 3) << number.toStdString();
    for (QChar c : name) EXPECT_EQ(c.script(), QChar::Script_Han) << number.toStdString();
    EXPECT_EQ(fromAnsi(toAnsi(name)), name) << "Big5 has " << number.toStdString();
    EXPECT_EQ(PilotName(number), name);
  }
  EXPECT_EQ(numbers, expected);
  EXPECT_EQ(names.size(), 53u) << "names are distinct";
  for (const QString& unknown : {u"0036"_s, u"0040"_s, u"0091"_s, u"37"_s, QString()}) {
    EXPECT_TRUE(PilotName(unknown).isEmpty()) << unknown.toStdString();
  }
}

TEST(PilotRoster, IniSectionRoundTripsThroughTheCodePage) {
  const QString section = fromAnsi(PilotsIniSection());
  ASSERT_TRUE(section.startsWith(u"[pilots]\r\n"_s));
  ASSERT_TRUE(section.endsWith(u"\r\n"_s));
  QStringList lines = section.split(u"\r\n"_s);
  lines.removeLast();
  lines.removeFirst();
  QStringList expected;
  for (const auto& [number, name] : KnownPilots()) expected << number + u'=' + name;
  EXPECT_EQ(lines, expected);
  EXPECT_FALSE(section.contains(u'?'));
}

}  // namespace
}  // namespace tidex::sites
