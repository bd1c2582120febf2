#include "tools/panel/panel_command.h"

#include <pthread.h>

#include <csignal>
#include <cstdio>

#include "tools/panel/panel_server.h"

namespace motqr::cli {

Status RunPanel(Context& c) {
  panel::PanelOptions options;
  MOTQR_CLI_TRY(panel::ParsePanelArguments(c.args(), &options));
  // Ctrl-C and SIGTERM are taken by sigwait below, not by any thread; a tab
  // that goes away mid-write is a failed write, not a signal.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGINT);
  sigaddset(&stop, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  panel::PanelServer server(c.options(), options);
  MOTQR_CLI_TRY(server.Start());
  std::printf("motqr panel: %s\n", server.url().c_str());
  std::fflush(stdout);
  std::fputs("(Ctrl-C stops the panel)\n", stderr);
  int signal = 0;
  sigwait(&stop, &signal);
  server.Stop();
  return Status::Ok();
}

}  // namespace motqr::cli
