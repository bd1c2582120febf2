#include "platform/visa/wire_log.h"

#include <sys/time.h>

#include <cstdio>
#include <ctime>
#include <mutex>

#include "platform/visa/escaped_text.h"

namespace motqr::visa {
namespace {

// Bytes shown of one transfer; the rest is counted.
constexpr std::size_t kShownBytes = 512;

thread_local const WireLogOptions* t_wire_log = nullptr;
thread_local const ScopedOpenAttributes::Attributes* t_open_attributes = nullptr;

std::string Timestamp() {
  timeval now{};
  ::gettimeofday(&now, nullptr);
  std::tm utc{};
  ::gmtime_r(&now.tv_sec, &utc);
  char text[40];
  const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  std::snprintf(text + n, sizeof text - n, ".%06ldZ", static_cast<long>(now.tv_usec));
  return text;
}

bool IsText(std::span<const std::uint8_t> bytes) {
  for (std::uint8_t b : bytes)
    if ((b < 0x20 && b != '\n' && b != '\r' && b != '\t') || b >= 0x7f) return false;
  return true;
}

class WireLogTransport final : public Transport {
 public:
  WireLogTransport(std::unique_ptr<Transport> inner, std::FILE* file, const WireLogOptions& options)
      : inner_(std::move(inner)), file_(file), size_max_(options.size_max), label_(options.label) {}
  ~WireLogTransport() override {
    if (file_) std::fclose(file_);
  }

  Status Write(std::span<const std::uint8_t> data, bool end, std::size_t* written) override {
    Status status = inner_->Write(data, end, written);
    Record("send", data.first(std::min(*written, data.size())), status);
    return status;
  }
  Status Read(std::span<std::uint8_t> buffer, ReadResult* result) override {
    Status status = inner_->Read(buffer, result);
    Record("recv",
           std::span<const std::uint8_t>(buffer).first(std::min(result->count, buffer.size())),
           status);
    return status;
  }
  Status Clear() override {
    Status status = inner_->Clear();
    Line("clear", "device clear", status);
    return status;
  }
  Status ReadStatusByte(std::uint16_t* status_byte) override {
    Status status = inner_->ReadStatusByte(status_byte);
    Line("stb", status.ok() ? std::to_string(*status_byte) : std::string(), status);
    return status;
  }
  Status AssertTrigger(ViUInt16 protocol) override {
    Status status = inner_->AssertTrigger(protocol);
    Line("trigger", "", status);
    return status;
  }
  Status SetAttribute(ViAttr attribute, ViAttrState value) override {
    return inner_->SetAttribute(attribute, value);
  }
  Status GetAttribute(ViAttr attribute, ViAttrState* value) override {
    return inner_->GetAttribute(attribute, value);
  }
  Status Lock(ViAccessMode mode, ViUInt32 timeout_ms, std::string_view requested_key,
              std::string* access_key) override {
    return inner_->Lock(mode, timeout_ms, requested_key, access_key);
  }
  Status Unlock() override { return inner_->Unlock(); }
  Status Close() override {
    Status status = inner_->Close();
    Line("close", "", status);
    return status;
  }

 private:
  void Record(const char* direction, std::span<const std::uint8_t> bytes, const Status& status) {
    // A read that timed out with nothing is still worth a line: the wait shows.
    Line(direction, WireLogBytes(bytes, kShownBytes), status);
  }

  void Line(const char* what, const std::string& detail, const Status& status) {
    std::string label = label_ ? label_() : std::string();
    if (label.empty()) label = "-";
    std::string line = Timestamp() + " " + what + " " + label;
    if (!detail.empty()) line += " " + detail;
    if (!status.ok()) line += "  [" + status.message() + "]";
    line += "\n";
    std::lock_guard hold(mutex_);
    if (!file_ || full_) return;
    if (written_ + line.size() > size_max_) {
      std::fprintf(file_, "# wire log full at %llu bytes: later transfers are not logged\n",
                   static_cast<unsigned long long>(written_));
      std::fflush(file_);
      full_ = true;
      return;
    }
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
    written_ += line.size();
  }

  std::unique_ptr<Transport> inner_;
  std::FILE* file_;
  std::uint64_t size_max_;
  std::function<std::string()> label_;
  std::mutex mutex_;
  std::uint64_t written_ = 0;
  bool full_ = false;
};

}  // namespace

ScopedWireLog::ScopedWireLog(WireLogOptions options)
    : options_(std::move(options)), previous_(t_wire_log) {
  t_wire_log = &options_;
}

ScopedWireLog::~ScopedWireLog() { t_wire_log = previous_; }

ScopedOpenAttributes::ScopedOpenAttributes(Attributes attributes)
    : attributes_(std::move(attributes)), previous_(t_open_attributes) {
  t_open_attributes = &attributes_;
}

ScopedOpenAttributes::~ScopedOpenAttributes() { t_open_attributes = previous_; }

Status ApplyThreadOpenAttributes(Transport& transport) {
  if (!t_open_attributes) return Status();
  for (const auto& [attribute, value] : *t_open_attributes) {
    MOTQR_VISA_RETURN_IF_ERROR(transport.SetAttribute(attribute, value));
  }
  return Status();
}

std::string WireLogBytes(std::span<const std::uint8_t> bytes, std::size_t most) {
  const std::span<const std::uint8_t> shown = bytes.first(std::min(most, bytes.size()));
  std::string out;
  if (IsText(shown)) {
    out = "\"";
    for (std::uint8_t b : shown) AppendEscaped(&out, b);  // text: no \xHH occurs
    out += "\"";
  } else {
    out = "hex";
    char hex[4];
    for (std::uint8_t b : shown) {
      std::snprintf(hex, sizeof hex, " %02x", b);
      out += hex;
    }
  }
  if (shown.size() < bytes.size()) out += " ... (" + std::to_string(bytes.size()) + " bytes)";
  return out;
}

std::unique_ptr<Transport> WithWireLog(std::unique_ptr<Transport> inner,
                                       const WireLogOptions& options, std::string_view resource) {
  std::FILE* file = std::fopen(options.path.c_str(), "a");
  if (!file) return inner;
  std::fprintf(file, "# %s wire log of %.*s\n", Timestamp().c_str(),
               static_cast<int>(resource.size()), resource.data());
  std::fflush(file);
  return std::make_unique<WireLogTransport>(std::move(inner), file, options);
}

std::unique_ptr<Transport> WithThreadWireLog(std::unique_ptr<Transport> inner,
                                             std::string_view resource) {
  if (!t_wire_log || !inner) return inner;
  return WithWireLog(std::move(inner), *t_wire_log, resource);
}

}  // namespace motqr::visa
