#include "tools/panel/panel_server.h"

#include <httplib.h>
#include <unistd.h>

#include <chrono>
#include <cmath>

#include "tools/panel/json.h"
#include "tools/panel/web_assets.h"

namespace motqr::panel {
namespace {

constexpr auto kStreamWait = std::chrono::seconds(5);

void SetJson(httplib::Response& res, int status, const std::string& json) {
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  res.set_content(json, "application/json");
}

httplib::Server::HandlerResponse Deny(httplib::Response& res, int status, std::string message) {
  SetJson(res, status, JsonObject().Boolean("ok", false).Text("message", message).Close());
  return httplib::Server::HandlerResponse::Handled;
}

std::string CookieValue(const std::string& header, std::string_view name) {
  std::size_t at = 0;
  while (at < header.size()) {
    while (at < header.size() && (header[at] == ' ' || header[at] == ';')) ++at;
    const std::size_t end = std::min(header.find(';', at), header.size());
    const std::string_view pair(header.data() + at, end - at);
    if (pair.size() > name.size() && pair.substr(0, name.size()) == name &&
        pair[name.size()] == '=')
      return std::string(pair.substr(name.size() + 1));
    at = end;
  }
  return {};
}

// The host part of a URL for a listening address.
std::string UrlHost(const std::string& listen) {
  if (listen == "0.0.0.0" || listen == "::" || listen == "[::]") {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) == 0 && name[0]) return name;
  }
  if (listen.find(':') != std::string::npos && listen.front() != '[') return "[" + listen + "]";
  return listen;
}

}  // namespace

PanelServer::PanelServer(const cli::CliOptions& options, PanelOptions panel)
    : panel_(std::move(panel)), link_(options, hub_) {}

PanelServer::~PanelServer() { Stop(); }

cli::Status PanelServer::Start() {
  if (panel_.token) MOTQR_CLI_TRY(NewAccessToken(&token_));
  MOTQR_CLI_TRY(link_.Open());
  http_ = std::make_unique<httplib::Server>();
  http_->new_task_queue = [] { return new httplib::ThreadPool(kMaxStreams + 8); };
  http_->set_tcp_nodelay(true);
  http_->set_payload_max_length(64 * 1024);
  Routes();
  std::string host = panel_.listen;
  if (host.size() > 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  if (panel_.port == 0) {
    port_ = http_->bind_to_any_port(host);
  } else if (http_->bind_to_port(host, panel_.port)) {
    port_ = panel_.port;
  }
  if (port_ <= 0) {
    return cli::Status::Failed("panel: cannot listen on " + panel_.listen + " port " +
                               std::to_string(panel_.port) +
                               " (in use? --port 0 takes a free one)");
  }
  cookie_name_ = "motqr_panel_" + std::to_string(port_);
  url_ = "http://" + UrlHost(panel_.listen) + ":" + std::to_string(port_) + "/";
  if (!token_.empty()) url_ += "?token=" + token_;
  server_thread_ = std::thread([this] { http_->listen_after_bind(); });
  poll_thread_ = std::thread([this] { PollLoop(); });
  return cli::Status::Ok();
}

void PanelServer::Stop() {
  {
    std::lock_guard lock(stop_mutex_);
    if (stopping_) return;
    stopping_ = true;
  }
  stop_changed_.notify_all();
  hub_.Close();
  if (http_) http_->stop();
  if (server_thread_.joinable()) server_thread_.join();
  if (poll_thread_.joinable()) poll_thread_.join();
}

void PanelServer::PollLoop() {
  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(1.0 / panel_.rate_hz));
  // The settings (levels, modes, programs) are read again every two seconds,
  // to follow changes made elsewhere; a control reads them at once.
  const int settings_every = std::max(1, static_cast<int>(std::lround(panel_.rate_hz * 2)));
  auto next = Clock::now();
  std::unique_lock lock(stop_mutex_);
  while (!stopping_) {
    lock.unlock();
    link_.Poll(settings_every);
    lock.lock();
    next += period;
    if (next < Clock::now()) next = Clock::now();  // a slow round is not made up for
    stop_changed_.wait_until(lock, next, [this] { return stopping_; });
  }
}

bool PanelServer::HostAllowed(const std::string& host) const {
  const std::string port = ":" + std::to_string(port_);
  for (const std::string& name : {std::string("127.0.0.1"), std::string("localhost"),
                                  std::string("[::1]"), UrlHost(panel_.listen)}) {
    if (host == name + port || (port_ == 80 && host == name)) return true;
  }
  return false;
}

void PanelServer::Routes() {
  http_->set_default_headers({
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"Content-Security-Policy",
       "default-src 'self'; img-src 'self' data: blob:; object-src 'none'; frame-ancestors 'none'"},
  });

  http_->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    const std::string host = req.get_header_value("Host");
    if (!token_.empty()) {
      const std::string in_query = req.get_param_value("token");
      std::string given = in_query;
      if (given.empty()) given = req.get_header_value("X-Motqr-Token");
      if (given.empty()) given = CookieValue(req.get_header_value("Cookie"), cookie_name_);
      if (!SameToken(given, token_))
        return Deny(res, 401,
                    "this panel needs its access token: open the address 'motqr panel' printed");
      if (!in_query.empty())
        res.set_header("Set-Cookie",
                       cookie_name_ + "=" + token_ + "; Path=/; HttpOnly; SameSite=Strict");
    } else if (!HostAllowed(host)) {
      return Deny(res, 403, "this panel answers only to its own address");
    }
    if (req.method == "POST") {
      if (!req.get_header_value("Content-Type").starts_with("application/json"))
        return Deny(res, 415, "a control takes a JSON body ({\"value\": ...})");
      const std::string origin = req.get_header_value("Origin");
      if (!origin.empty() && origin != "http://" + host)
        return Deny(res, 403, "controls are taken only from the panel's own page");
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });

  http_->Get(R"(/|/[A-Za-z0-9_.-]+)", [](const httplib::Request& req, httplib::Response& res) {
    const WebAsset* asset = FindWebAsset(req.path);
    if (!asset) {
      SetJson(res, 404, JsonObject().Boolean("ok", false).Text("message", "not found").Close());
      return;
    }
    res.set_header("Cache-Control", "no-cache");
    res.set_content(reinterpret_cast<const char*>(asset->bytes.data()), asset->bytes.size(),
                    std::string(asset->content_type).c_str());
  });

  http_->Get("/api/state", [this](const httplib::Request&, httplib::Response& res) {
    const auto latest = [this](std::string_view kind) {
      std::string json = hub_.Latest(kind);
      return json.empty() ? std::string("null") : json;
    };
    SetJson(res, 200,
            JsonObject()
                .Raw("panel", InstrumentLink::ControlsJson())
                .Number("rate", panel_.rate_hz)
                .Raw("identity", latest("identity"))
                .Raw("link", latest("link"))
                .Raw("settings", latest("settings"))
                .Raw("errors", latest("errors"))
                .Raw("reading", latest("reading"))
                .Integer("streams", hub_.streams())
                .Close());
  });

  http_->Get("/api/events", [this](const httplib::Request&, httplib::Response& res) {
    if (!hub_.Join(kMaxStreams)) {
      SetJson(res, 503,
              JsonObject().Boolean("ok", false).Text("message", "too many open panels").Close());
      return;
    }
    auto next = std::make_shared<std::uint64_t>(0);
    auto pending = std::make_shared<std::string>("retry: 2000\n\n");
    *pending += hub_.Subscribe(next.get());
    res.set_header("Cache-Control", "no-store");
    res.set_chunked_content_provider(
        "text/event-stream",
        [this, next, pending](std::size_t, httplib::DataSink& sink) {
          if (pending->empty()) {
            if (!hub_.Wait(next.get(), kStreamWait, pending.get())) {
              sink.done();
              return true;
            }
            if (pending->empty()) *pending = ": idle\n\n";  // finds a closed connection
          }
          const bool written = sink.write(pending->data(), pending->size());
          pending->clear();
          return written;
        },
        [this](bool) { hub_.Leave(); });
  });

  http_->Post(R"(/api/set/([a-z-]+))", [this](const httplib::Request& req, httplib::Response& res) {
    const auto value = ReadValueField(req.body);
    if (!value) {
      SetJson(res, 400,
              JsonObject()
                  .Boolean("ok", false)
                  .Text("message", "the body must be one JSON object with a \"value\"")
                  .Close());
      return;
    }
    const ControlReply reply = link_.Set(req.matches[1].str(), *value);
    SetJson(res, reply.http_status, reply.json);
  });

  http_->Post(R"(/api/action/([a-z-]+))",
              [this](const httplib::Request& req, httplib::Response& res) {
                const ControlReply reply = link_.Act(req.matches[1].str());
                SetJson(res, reply.http_status, reply.json);
              });
}

}  // namespace motqr::panel
