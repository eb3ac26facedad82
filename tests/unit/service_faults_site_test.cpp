#include <gtest/gtest.h>

#include "board_path.h"
#include "sites/port_sites.h"
#include "sites/service_faults.h"

using namespace tidex::sites;

namespace {

SiteRequest get(const QByteArray& path, const QByteArray& query = {}) {
  return {"GET", path, query, {}, {}, "127.0.0.1:8080"};
}

// A fault meets the requests of its own service only, and with a match only the requests that
// hold it; the answers in place of the service and the spoilt answers are what each name says.
TEST(ServiceFaults, AFaultMeetsItsServiceAndMatchingRequestsOnly) {
  PortSites sites;
  const SiteRequest wharf1108 = get(kBoardPath.toLatin1(), "QSP_PORT=1108");
  const SiteRequest wharf1110 = get(kBoardPath.toLatin1(), "QSP_PORT=1110");
  const SiteRequest imct = get("/APIMCT/pages/Login_etp.jsp");
  const QByteArray board = sites.respond(wharf1108).body;

  sites.setFault(Service::Board, Fault::Never, "QSP_PORT=1108");
  EXPECT_EQ(sites.respond(wharf1108).delivery, SiteResponse::Delivery::Never);
  EXPECT_EQ(sites.respond(wharf1110).delivery, SiteResponse::Delivery::Answer);
  EXPECT_EQ(sites.respond(imct).status, 200);

  sites.setFault(Service::Board, Fault::RedirectAway);
  const SiteResponse away = sites.respond(wharf1108);
  EXPECT_EQ(away.status, 302);
  ASSERT_EQ(away.headers.size(), 1u);
  EXPECT_EQ(away.headers[0].second, "http://localhost:8080/elsewhere/");
  EXPECT_EQ(sites.respond(get("/elsewhere/")).status, 200);

  sites.setFault(Service::Board, Fault::RedirectLoop);
  EXPECT_EQ(sites.respond(wharf1108).headers[0].second, (kBoardPath + "?QSP_PORT=1108").toLatin1());

  sites.setFault(Service::Board, Fault::Huge);
  EXPECT_GE(sites.respond(wharf1108).body.size(), kHugePageBytes);
  sites.setFault(Service::Board, Fault::ManyElements);
  EXPECT_GE(sites.respond(wharf1108).body.count("<span></span>"), kManyElements);
  sites.setFault(Service::Board, Fault::CutOff);
  EXPECT_EQ(sites.respond(wharf1108).delivery, SiteResponse::Delivery::CutOff);
  EXPECT_EQ(sites.respond(wharf1108).body, board) << "the transport sends half of it";

  sites.setFault(Service::Board, Fault::None);
  EXPECT_EQ(sites.respond(wharf1108).body, board);
  for (const char* name : {"none", "500", "404", "refused", "never", "download", "redirect-loop",
                           "redirect-away", "cut-off", "huge", "many-elements", "dialogs"}) {
    ASSERT_TRUE(FaultNamed(name)) << name;
    EXPECT_EQ(FaultName(*FaultNamed(name)), name);
  }
  EXPECT_FALSE(FaultNamed("slow"));
}

// A counted fault on the mail form's path meets the next requests to it, the form and its
// submissions alike, and ends after that many; a held request asked again uses none up.
TEST(ServiceFaults, ACountedFaultOnAPathEndsAfterThatManyRequests) {
  PortSites sites;
  const SiteRequest form = get("/pda/mail.php");
  const SiteRequest submission{"POST", "/pda/mail.php", {}, "name=01VXXX&submit=x", {}, {}};
  sites.setFault(Service::Maker, Fault::ServerError, "/pda/mail.php", 2);

  EXPECT_EQ(sites.handle(get("/pda/Tidex_about.php")).status, 200);
  EXPECT_EQ(sites.handle(form).status, 500);
  EXPECT_EQ(sites.respond(submission).status, 500);  // held, asked again
  EXPECT_EQ(sites.handle(submission).status, 500);
  EXPECT_TRUE(sites.mail().submissions().empty());
  EXPECT_EQ(sites.handle(submission).status, 200);
  EXPECT_EQ(sites.mail().submissions().size(), 1u);
  EXPECT_EQ(sites.faultOf(Service::Maker), Fault::None);
}

}  // namespace
