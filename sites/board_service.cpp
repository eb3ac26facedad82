#include "board_service.h"

#include "board_page.h"
#include "board_search.h"

namespace tidex::sites {
namespace {

// Sets date and time from "HH:MM" or "yyyy/MM/dd HH:MM".
void setWhen(QString& date, QString& time, const QString& when) {
  const QString text = when.trimmed();
  const qsizetype blank = text.lastIndexOf(u' ');
  if (blank >= 0) date = text.left(blank).trimmed();
  time = text.mid(blank + 1);
}

}  // namespace

BoardService::BoardService() : calls_(DefaultCalls()) {}

std::vector<VesselCall> BoardService::DefaultCalls() {
  auto call = [](QString vessel, QString wharf, QString arrivalDate, QString arrivalTime,
                 QString departureDate, QString departureTime, QString berth, QString status,
                 QString pilot) {
    return VesselCall{vessel,        wharf, arrivalDate, arrivalTime, departureDate,
                      departureTime, berth, status,      pilot};
  };
  std::vector<VesselCall> calls{
      call("YM HARMONY", "1108", "2026/12/08", "14:30", "2026/12/09", "06:20", "北1", "預定進港",
           "0037"),
      call("WAN HAI 316", "1108", "2026/12/07", "22:40", "2026/12/08", "12:10", "南2", "靠泊中",
           "0052"),
      call("EVER LAUREL", "1108", "2026/12/09", "03:10", "2026/12/10", "11:40", "北3", "預定進港",
           ""),
      call("KMTC TAIPEI", "1110", "2026/12/08", "15:00", "2026/12/09", "09:30", "東1", "預定進港",
           "0000"),
      call("OOCL FORMOSA", "1110", "2026/12/06", "08:15", "2026/12/07", "19:45", "東2", "已離港",
           "0041"),
      call("TS KEELUNG", "1070", "2026/12/09", "05:01", "2026/12/09", "18:30", "西1", "預定進港",
           "0088"),
  };
  calls[0].bowThruster = true;
  calls[1].pilotSplit = true;
  calls[2].pilotRequired = false;
  calls[3].bowThruster = true;
  calls[5].pilotSplit = true;
  return calls;
}

bool BoardService::handles(const QByteArray& path) const {
  return path.compare("/sdci/UA1006.ASP", Qt::CaseInsensitive) == 0;
}

SiteResponse BoardService::handle(const SiteRequest& request) const {
  switch (mode_) {
    case Mode::Unreachable:
      return SiteResponse::refused();
    case Mode::Never:
      return SiteResponse::never();
    case Mode::Failing:
      return {failStatus_, "text/html; charset=big5", BoardErrorPage(failStatus_)};
    case Mode::Normal:
      break;
  }
  // The form is sent with GET; a POSTed form body is read the same way.
  QByteArray query = request.query;
  if (request.method == "POST" && !request.body.isEmpty()) {
    query += (query.isEmpty() ? "" : "&") + request.body;
  }
  const BoardSearch search = BoardSearch::FromQuery(query);
  return {200, "text/html; charset=big5", BoardPage(search, search.select(calls_))};
}

bool BoardService::change(const QString& wharf, const QString& vessel,
                          const std::function<void(VesselCall&)>& edit) {
  for (VesselCall& call : calls_) {
    if (call.wharf == wharf.trimmed() &&
        call.vessel.compare(vessel.trimmed(), Qt::CaseInsensitive) == 0) {
      edit(call);
      return true;
    }
  }
  return false;
}

bool BoardService::setBerthTime(const QString& wharf, const QString& vessel, const QString& time) {
  return change(wharf, vessel, [&](VesselCall& c) { setWhen(c.arrivalDate, c.arrivalTime, time); });
}

bool BoardService::setDepartureTime(const QString& wharf, const QString& vessel,
                                    const QString& time) {
  return change(wharf, vessel,
                [&](VesselCall& c) { setWhen(c.departureDate, c.departureTime, time); });
}

bool BoardService::setBerth(const QString& wharf, const QString& vessel, const QString& berth) {
  return change(wharf, vessel, [&](VesselCall& c) { c.berth = berth; });
}

bool BoardService::setStatus(const QString& wharf, const QString& vessel, const QString& status) {
  return change(wharf, vessel, [&](VesselCall& c) { c.status = status; });
}

bool BoardService::assignPilot(const QString& wharf, const QString& vessel, const QString& number) {
  return change(wharf, vessel, [&](VesselCall& c) { c.pilotNumber = number; });
}

bool BoardService::renameVessel(const QString& wharf, const QString& vessel,
                                const QString& newName) {
  return change(wharf, vessel, [&](VesselCall& c) { c.vessel = newName; });
}

void BoardService::failWith(int httpStatus) {
  mode_ = Mode::Failing;
  failStatus_ = httpStatus;
}

void BoardService::setMode(Mode mode, bool on) {
  if (on) {
    mode_ = mode;
  } else if (mode_ == mode) {
    mode_ = Mode::Normal;
  }
}

}  // namespace tidex::sites
