// PanelServer: the soft front panel's web server. It serves the page, a JSON
// API over the instrument link, and the event stream, and runs the poller
// thread that reads the instrument at a fixed rate for every open tab at once.
//
//   GET  /                      the page (and its /panel.css, /panel.js)
//   GET  /api/state             controls, identity, settings, link, errors, last reading
//   GET  /api/events            Server-Sent Events: reading, settings, identity, link, errors
//   POST /api/set/<control>     {"value": ...} -> {"ok", "value" (what the instrument holds),
//                               "message" and "instrument_errors" when refused}
//   POST /api/action/<action>   protection-clear, program-run|pause|resume|stop, errors
//
// Requests must name this server in their Host header (no DNS rebinding), and
// a POST must be application/json from this server's own origin (no request
// forgery by another site). With a token, every request carries it: in the
// query (?token=...), the X-Motqr-Token header, or the cookie the page gets.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "tools/panel/event_hub.h"
#include "tools/panel/instrument_link.h"
#include "tools/panel/panel_options.h"
#include "tools/status.h"

namespace httplib {
class Server;
}

namespace motqr::panel {

class PanelServer {
 public:
  // Event streams open at once; one more gets 503.
  static constexpr int kMaxStreams = 32;

  PanelServer(const cli::CliOptions& options, PanelOptions panel);
  ~PanelServer();
  PanelServer(const PanelServer&) = delete;
  PanelServer& operator=(const PanelServer&) = delete;

  // Opens the instrument, binds the address, starts the poller and the server.
  cli::Status Start();
  // The address to open in a browser (with the token when there is one).
  const std::string& url() const { return url_; }
  void Stop();

 private:
  void Routes();
  void PollLoop();
  bool HostAllowed(const std::string& host) const;

  PanelOptions panel_;
  EventHub hub_;
  InstrumentLink link_;
  std::unique_ptr<httplib::Server> http_;
  std::string token_;
  std::string cookie_name_;
  std::string url_;
  int port_ = 0;
  std::thread server_thread_;
  std::thread poll_thread_;
  std::mutex stop_mutex_;
  std::condition_variable stop_changed_;
  bool stopping_ = false;
};

}  // namespace motqr::panel
