// motqr panel: the soft front panel in a browser (tools/panel/).
#pragma once

#include "tools/command.h"

namespace motqr::cli {

inline constexpr std::string_view kPanelUsage = "[--port N] [--listen ADDR] [--token] [--rate HZ]";
inline constexpr std::string_view kPanelSummary =
    "a front panel in the browser: live readings, a chart, every control";
inline constexpr std::string_view kPanelDetails =
    "Serves the page on http://127.0.0.1:8025/ (--port N; 0 takes a free port) and\n"
    "prints its address; runs until Ctrl-C. Every browser tab shares the one session.\n"
    "  --listen ADDR   another address to listen on; one that is not loopback needs\n"
    "                  the random access token, which the printed address carries\n"
    "  --token         ask for the token on loopback too (a machine shared by users)\n"
    "  --rate HZ       instrument readings a second, 1 to 20 (default 10)";

Status RunPanel(Context& c);

}  // namespace motqr::cli
