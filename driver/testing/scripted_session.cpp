#include "driver/testing/scripted_session.h"

#include "io/input/formatted_input.h"
#include "io/input/testing/memory_reply_buffer.h"

#include <charconv>

namespace motqr::testing {
namespace {

ScriptedInstrument* current = nullptr;

class ScriptedSession final : public driver::ISessionPort {
 public:
  explicit ScriptedSession(ScriptedInstrument* instrument) : i_(instrument) {}

  com::HRESULT Open(const std::string&, io::IInstrErrorPoller* poller,
                    errors::IErrorReporter* reporter, io::IEnumFormatter* formatter) override {
    ++i_->opens;
    if (com::Failed(i_->open_status)) return reporter->IoError("Failed to open VISA resource.");
    poller_ = poller;
    reporter_ = reporter;
    formatter_ = formatter;
    i_->open = true;
    return com::S_OK;
  }
  com::HRESULT Close() override {
    ++i_->closes;
    i_->open = false;
    return com::S_OK;
  }
  bool IsOpen() const override { return i_->open; }
  com::HRESULT WriteString(std::string_view text, bool poll, std::int32_t) override {
    if (!i_->open) return reporter_->NotInitialized();
    last_ = std::string(text);
    i_->sent.push_back(last_);
    return poll ? poller_->PollInstrumentErrors() : com::S_OK;
  }
  com::HRESULT ReadString(std::string* text, std::int32_t) override {
    if (!i_->open) return reporter_->NotInitialized();
    if (auto f = i_->fixed.find(last_); f != i_->fixed.end()) {
      *text = f->second;
      return com::S_OK;
    }
    auto q = i_->replies.find(last_);
    if (q == i_->replies.end() || q->second.empty()) return reporter_->IoTimeout("no reply");
    *text = q->second.front();
    q->second.pop_front();
    return com::S_OK;
  }
  com::HRESULT QueryString(std::string_view command, std::string* reply,
                           std::int32_t timeout) override {
    if (com::HRESULT hr = WriteString(command, false, timeout); com::Failed(hr)) return hr;
    return ReadString(reply, timeout);
  }
  com::HRESULT QueryInt32(std::string_view command, std::int32_t* value, bool poll,
                          std::int32_t timeout) override {
    std::string reply;
    if (com::HRESULT hr = QueryString(command, &reply, timeout); com::Failed(hr)) return hr;
    std::from_chars(reply.data(), reply.data() + reply.size(), *value);
    return poll ? poller_->PollInstrumentErrors() : com::S_OK;
  }
  com::HRESULT WriteCommand(std::string_view command) override {
    return WriteString(command, true, io::kTmoKeep);
  }
  com::HRESULT QueryFormatted(std::string_view command, std::string_view reply_format,
                              io::ScanArgs outputs) override {
    std::string reply;
    if (com::HRESULT hr = QueryString(command, &reply, io::kTmoKeep); com::Failed(hr)) return hr;
    // The session's buffer strips the read termination from a response, and
    // what the format leaves unread is discarded.
    if (!reply.empty() && reply.back() == '\n') reply.pop_back();
    io::testing::MemoryReplyBuffer buffer(reply);
    com::HRESULT hr = io::VScan(buffer, formatter_, reply_format, outputs);
    if (com::Failed(hr)) return hr;
    if (hr == io::S_MORE_DATA) hr = com::S_OK;
    com::HRESULT poll = poller_->PollInstrumentErrors();
    return com::Failed(poll) ? poll : hr;
  }
  com::HRESULT Clear() override {
    i_->sent.push_back("<device clear>");
    return com::S_OK;
  }

  // Direct I/O is not scripted: reads find nothing, writes are recorded.
  com::HRESULT ReadBytes(com::SAFEARRAY** data) override {
    if (data) *data = nullptr;
    return reporter_ ? reporter_->IoTimeout("no reply") : com::E_FAIL;
  }
  com::HRESULT ReadString(com::BSTR* text) override {
    if (text) *text = nullptr;
    return reporter_ ? reporter_->IoTimeout("no reply") : com::E_FAIL;
  }
  com::HRESULT WriteBytes(com::SAFEARRAY* data, std::int64_t* written) override {
    if (written) *written = data ? static_cast<std::int64_t>(com::SafeArrayElementCount(data)) : 0;
    i_->sent.push_back("<bytes>");
    return com::S_OK;
  }
  com::HRESULT WriteString(const char16_t* text) override {
    i_->sent.push_back(com::BstrToUtf8(text));
    return com::S_OK;
  }
  com::HRESULT GetIoTimeout(std::int32_t* timeout) override {
    if (timeout) *timeout = timeout_;
    return com::S_OK;
  }
  com::HRESULT SetIoTimeout(std::int32_t timeout) override {
    timeout_ = timeout;
    return com::S_OK;
  }
  com::HRESULT GetIFormattedIO488Pointer(visa::IFormattedIO488** formatted) override {
    if (formatted) *formatted = nullptr;
    return com::S_OK;
  }

 private:
  ScriptedInstrument* i_;
  io::IInstrErrorPoller* poller_ = nullptr;
  errors::IErrorReporter* reporter_ = nullptr;
  io::IEnumFormatter* formatter_ = nullptr;
  std::string last_;
  std::int32_t timeout_ = 2000;
};

}  // namespace

void UseScriptedInstrument(ScriptedInstrument* instrument) { current = instrument; }

std::unique_ptr<driver::ISessionPort> MakeScriptedSession() {
  return std::make_unique<ScriptedSession>(current);
}

}  // namespace motqr::testing
