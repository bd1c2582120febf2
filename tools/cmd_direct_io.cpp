// motqr scpi and motqr shell: SCPI text straight to the instrument through the
// driver's direct I/O (no formatting, no status check).
#include <sys/select.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <iostream>

#if MOTQR_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

#include "tools/command.h"

namespace motqr::cli {
namespace {

constexpr std::size_t kHistorySize = 1000;

// A message holding '?' outside quoted strings has a reply to read.
bool IsQuery(std::string_view command) {
  char quote = 0;
  for (char ch : command) {
    if (quote) {
      if (ch == quote) quote = 0;
    } else if (ch == '"' || ch == '\'') {
      quote = ch;
    } else if (ch == '?') {
      return true;
    }
  }
  return false;
}

Status Exchange(IMorvaneTqrSystem& system, std::string_view command, std::string* reply,
                bool* has_reply) {
  *has_reply = IsQuery(command);
  std::string message(Trim(command));
  MOTQR_CLI_TRY(Check(system.WriteString(com::Bstr::FromUtf8(message + "\n").Get()), message));
  if (!*has_reply) return Status::Ok();
  com::Bstr text;
  MOTQR_CLI_TRY(Check(system.ReadString(text.Put()), message));
  *reply = text.ToUtf8();
  while (!reply->empty() && (reply->back() == '\n' || reply->back() == '\r')) reply->pop_back();
  return Status::Ok();
}

Status OpenSystem(Context& c, com::ComPtr<IMorvaneTqrSystem>* system, Session** session) {
  MOTQR_CLI_TRY(c.OpenSession(session));
  return (*session)->Driver(system);
}

// A raw command that failed (a query without a reply times out) comes with
// the errors the instrument queued for it.
Status WithQueuedErrors(const Session& s, Status status) {
  if (status.ok()) return status;
  std::vector<InstrumentError> errors = s.DrainErrorQueue(32);
  if (errors.empty()) return status;
  std::string message = status.message();
  for (const InstrumentError& e : errors)
    message += "\n  the instrument queued " + std::to_string(e.code) + ", \"" + e.message + "\"";
  Status explained = status.WithMessage(std::move(message));
  explained.set_instrument_errors(std::move(errors));
  return explained;
}

// Set by the shell's SIGINT handler while a line is read.
volatile std::sig_atomic_t line_interrupted = 0;

#if MOTQR_HAVE_LIBEDIT
// The shell's key reader: one byte of standard input, or end of input once
// Ctrl-C was pressed. SIGINT is let through only while waiting for a key, so a
// Ctrl-C that comes while libedit is busy echoing is seen at the next key
// instead of being lost until the next Enter.
int ReadKey(FILE*) {
  sigset_t with_sigint, waiting;
  sigemptyset(&with_sigint);
  sigaddset(&with_sigint, SIGINT);
  pthread_sigmask(SIG_BLOCK, &with_sigint, &waiting);
  int key = EOF;
  while (!line_interrupted) {
    fd_set input;
    FD_ZERO(&input);
    FD_SET(STDIN_FILENO, &input);
    const int ready = pselect(STDIN_FILENO + 1, &input, nullptr, nullptr, nullptr, &waiting);
    if (ready < 0 && errno == EINTR) continue;
    unsigned char byte = 0;
    if (ready > 0 && read(STDIN_FILENO, &byte, 1) == 1) key = byte;
    break;
  }
  pthread_sigmask(SIG_SETMASK, &waiting, nullptr);
  return key;
}
#endif

// One line of the shell: from libedit on a terminal (Ctrl-C cancels the line),
// else from standard input. False at the end of input.
class LineReader {
 public:
  explicit LineReader(bool interactive) : interactive_(interactive) {
#if MOTQR_HAVE_LIBEDIT
    if (interactive_) {
      // Ctrl-C sets a flag; the key reader then ends the line (libedit puts
      // the terminal back as the line ends) and the shell starts a new one.
      rl_catch_signals = 0;
      rl_getc_function = ReadKey;
      struct sigaction action {};
      action.sa_handler = [](int) { line_interrupted = 1; };
      sigemptyset(&action.sa_mask);
      sigaction(SIGINT, &action, &previous_);
      using_history();
      stifle_history(static_cast<int>(kHistorySize));
    }
#endif
  }
  ~LineReader() {
#if MOTQR_HAVE_LIBEDIT
    if (interactive_) sigaction(SIGINT, &previous_, nullptr);
#endif
  }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool Read(std::string* line) {
#if MOTQR_HAVE_LIBEDIT
    if (interactive_) {
      for (;;) {
        line_interrupted = 0;
        char* text = readline("motqr> ");
        if (text) {
          *line = text;
          std::free(text);
          return true;
        }
        // Ctrl-C: a fresh prompt; end of input (Ctrl-D): leave.
        if (!line_interrupted) return false;
        std::cout << "^C\n" << std::flush;
      }
    }
#endif
    if (interactive_) std::cout << "motqr> " << std::flush;
    return static_cast<bool>(std::getline(std::cin, *line));
  }
  void Remember(const std::string& line) {
#if MOTQR_HAVE_LIBEDIT
    if (interactive_) add_history(line.c_str());
#else
    (void)line;
#endif
  }

 private:
  bool interactive_;
#if MOTQR_HAVE_LIBEDIT
  struct sigaction previous_ {};
#endif
};

// "!!" and "!N" name earlier lines; anything else stands for itself.
Status Recall(const std::deque<std::string>& history, const std::string& line, std::string* out) {
  if (line == "!!") {
    if (history.empty()) return Status::Usage("no history yet");
    *out = history.back();
    return Status::Ok();
  }
  if (line.size() > 1 && line[0] == '!') {
    auto n = ParseInteger(line.substr(1));
    if (!n || *n < 1 || static_cast<std::size_t>(*n) > history.size())
      return Status::Usage("no history entry " + line.substr(1));
    *out = history[static_cast<std::size_t>(*n - 1)];
    return Status::Ok();
  }
  *out = line;
  return Status::Ok();
}

constexpr const char* kShellHelp =
    "Type SCPI commands; a command with '?' prints the instrument's reply.\n"
    "  history     the commands so far      !!   repeat the last one\n"
    "  !N          repeat command N          quit (or end of input) leaves\n";

}  // namespace

Status RunScpi(Context& c) {
  if (c.args().empty()) return Status::Usage("scpi needs a command, e.g. motqr scpi '*IDN?'");
  com::ComPtr<IMorvaneTqrSystem> system;
  Session* s;
  MOTQR_CLI_TRY(OpenSystem(c, &system, &s));
  std::vector<Scalar> replies;
  bool answered = false;
  for (const std::string& command : c.args()) {
    std::string reply;
    MOTQR_CLI_TRY(WithQueuedErrors(*s, Exchange(*system, command, &reply, &answered)));
    if (answered) replies.push_back(Scalar::Text(reply));
  }
  // The instrument has taken the last command before the tool returns (and a
  // later invocation sees its effects and errors): "*OPC?" answers after it.
  if (!answered) {
    std::string ignored;
    MOTQR_CLI_TRY(Exchange(*system, "*OPC?", &ignored, &answered));
  }
  if (replies.size() == 1) {
    c.out().Field("reply", replies.front());
  } else if (!replies.empty()) {
    c.out().List("replies", std::move(replies));
  }
  return Status::Ok();
}

Status RunShell(Context& c) {
  if (!c.args().empty()) return Status::Usage("shell takes no arguments");
  com::ComPtr<IMorvaneTqrSystem> system;
  Session* s;
  MOTQR_CLI_TRY(OpenSystem(c, &system, &s));
  const bool interactive = ::isatty(STDIN_FILENO) == 1;
  if (interactive) std::cout << "motqr shell on " << c.options().resource << " ('help', 'quit')\n";
  LineReader reader(interactive);
  std::deque<std::string> history;
  std::string raw;
  bool unanswered = false;  // the last command had no reply to wait for
  for (;;) {
    if (!reader.Read(&raw)) break;
    const std::string line(Trim(raw));
    if (line.empty()) continue;
    if (line == "quit" || line == "exit") break;
    if (line == "help") {
      std::cout << kShellHelp;
      continue;
    }
    if (line == "history") {
      for (std::size_t i = 0; i < history.size(); ++i)
        std::cout << "  " << i + 1 << "  " << history[i] << "\n";
      continue;
    }
    std::string command;
    if (Status refused = Recall(history, line, &command); !refused.ok()) {
      std::cerr << "motqr: " << refused.message() << "\n";
      continue;
    }
    if (command != line) std::cout << command << "\n";
    reader.Remember(command);
    history.push_back(command);
    if (history.size() > kHistorySize) history.pop_front();
    std::string reply;
    bool has_reply = false;
    if (Status failed = WithQueuedErrors(*s, Exchange(*system, command, &reply, &has_reply));
        !failed.ok()) {
      std::cerr << "motqr: " << failed.message() << "\n";
    } else if (has_reply) {
      std::cout << reply << "\n";
    }
    unanswered = !has_reply;
  }
  if (unanswered) {
    std::string ignored;
    bool has_reply = false;
    (void)Exchange(*system, "*OPC?", &ignored, &has_reply);
  }
  if (interactive) std::cout << "\n";
  return Status::Ok();
}

}  // namespace motqr::cli
