#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "board_call.h"
#include "site_request.h"

namespace tidex::sites {

// The tally company's pilot information board, "/sdci/UA1006.ASP": a list of vessel calls that
// tests and the demo change, searched by wharf or vessel name, and switchable failure modes.
class BoardService {
 public:
  // Starts with DefaultCalls().
  BoardService();

  // A few calls at wharves 1108, 1110 and 1070. Those at 1108 read cleanly to a wharf monitor;
  // 1110 shows a 15:00 and 1070 a 05:01, which a wharf monitor takes for error markers.
  static std::vector<VesselCall> DefaultCalls();

  bool handles(const QByteArray& path) const;
  SiteResponse handle(const SiteRequest& request) const;

  void addCall(VesselCall call) { calls_.push_back(std::move(call)); }
  void clearCalls() { calls_.clear(); }
  const std::vector<VesselCall>& calls() const { return calls_; }

  // Changes of the first call of vessel (any case) at wharf; false if there is none.
  // time is "HH:MM", or "yyyy/MM/dd HH:MM" to change the date as well.
  bool setBerthTime(const QString& wharf, const QString& vessel, const QString& time);
  bool setDepartureTime(const QString& wharf, const QString& vessel, const QString& time);
  bool setBerth(const QString& wharf, const QString& vessel, const QString& berth);
  bool setStatus(const QString& wharf, const QString& vessel, const QString& status);
  // number: "0037"; "0000" for no pilot assigned yet; "" for pilot-exempt.
  bool assignPilot(const QString& wharf, const QString& vessel, const QString& number);
  bool renameVessel(const QString& wharf, const QString& vessel, const QString& newName);

  // Failure modes; the latest one set replaces the others. failWith answers every board request
  // with httpStatus and a small error page; unreachable refuses the connection; never leaves
  // the request unanswered. Clearing the current mode, or recover(), answers normally again.
  void failWith(int httpStatus);
  void setUnreachable(bool unreachable) { setMode(Mode::Unreachable, unreachable); }
  void setNeverCompletes(bool never) { setMode(Mode::Never, never); }
  void recover() { mode_ = Mode::Normal; }

 private:
  // Applies edit to the first call of vessel (any case) at wharf; false if there is none.
  bool change(const QString& wharf, const QString& vessel,
              const std::function<void(VesselCall&)>& edit);

  enum class Mode { Normal, Failing, Unreachable, Never };
  void setMode(Mode mode, bool on);

  std::vector<VesselCall> calls_;
  Mode mode_ = Mode::Normal;
  int failStatus_ = 500;
};

}  // namespace tidex::sites
