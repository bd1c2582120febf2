// InstrumentLink: the panel's one driver session, shared by every browser tab.
// Every call goes through the driver (tools/session.h) under one mutex, so a
// reading never interleaves with a control. It publishes what it learns on the
// event hub: "reading" (measured values, regulation state, protection flags,
// program progress), "settings" (the levels and choices the controls show),
// "identity", "link" (connected or not, and why) and "errors" (the entries
// read from the instrument's error queue, newest last).
//
// When the instrument stops answering, Poll reports it on "link" and opens a
// new session every few seconds until one succeeds.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/cli_options.h"
#include "tools/panel/event_hub.h"
#include "tools/panel/json.h"
#include "tools/session.h"
#include "tools/status.h"

namespace motqr::panel {

// What a control or an action did: `json` is the reply body.
struct ControlReply {
  int http_status =
      200;  // 200 done, 404 no such control, 400 a bad value, 422 refused, 503 no instrument
  std::string json;
};

class InstrumentLink {
 public:
  InstrumentLink(cli::CliOptions options, EventHub& hub);
  ~InstrumentLink();
  InstrumentLink(const InstrumentLink&) = delete;
  InstrumentLink& operator=(const InstrumentLink&) = delete;

  // Opens the session and publishes identity and settings.
  cli::Status Open();
  // One round of readings, published as "reading"; every `settings_every`-th
  // round also reads the settings. Reopens a lost session when it is time.
  void Poll(int settings_every);

  // Sets a control ("voltage", "output", ...) and answers the value the
  // instrument then holds.
  ControlReply Set(std::string_view control, const RequestValue& value);
  // "protection-clear", "program-run", "program-pause", "program-resume",
  // "program-stop", "errors" (reads the error queue).
  ControlReply Act(std::string_view action);

  // The controls with their kinds and choices, for the page to build its form.
  static std::string ControlsJson();

  struct Parts;  // the session's interfaces the panel uses, fetched once per session

 private:
  cli::Status OpenLocked();
  void ReadSettingsLocked();
  void ReadIdentityLocked();
  void LinkChangedLocked(bool connected, std::string message);
  // After a failure the instrument reported, the entries of its error queue.
  std::vector<std::string> InstrumentErrorsLocked(const cli::Status& status,
                                                  std::string_view during);
  // Reads the whole error queue into the log; the entries read.
  std::vector<std::string> ReadErrorQueueLocked(std::string_view during);
  void PublishErrorsLocked();

  cli::CliOptions options_;
  EventHub& hub_;
  std::mutex mutex_;
  std::unique_ptr<cli::Session> session_;
  std::unique_ptr<Parts> parts_;
  bool connected_ = false;
  std::string link_message_;  // why the instrument was lost
  std::chrono::steady_clock::time_point last_open_{};
  std::int64_t rounds_ = 0;
  std::uint64_t reading_number_ = 0;
  struct LoggedError {
    std::int64_t time_ms;
    std::string entry;  // "code,\"message\"" as the instrument answers
    std::string during;
  };
  std::deque<LoggedError> errors_;
  std::uint64_t errors_read_ = 0;
};

}  // namespace motqr::panel
