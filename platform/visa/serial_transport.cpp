#include "platform/visa/serial_transport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/visa/stream_transport.h"

namespace motqr::visa {
namespace {

struct BaudRate {
  ViUInt32 rate;
  speed_t code;
};
constexpr BaudRate kBaudRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

const BaudRate* FindBaudRate(ViAttrState rate) {
  for (const BaudRate& entry : kBaudRates) {
    if (entry.rate == rate) return &entry;
  }
  return nullptr;
}

struct LineSettings {
  ViUInt32 baud = 9600;
  ViUInt16 data_bits = 8;
  ViUInt16 parity = VI_ASRL_PAR_NONE;
  ViUInt16 stop_bits = VI_ASRL_STOP_ONE;
  ViUInt16 flow = VI_ASRL_FLOW_NONE;
};

bool IsSupported(const LineSettings& line) {
  constexpr ViUInt16 kFlowBits = VI_ASRL_FLOW_XON_XOFF | VI_ASRL_FLOW_RTS_CTS;
  return FindBaudRate(line.baud) != nullptr && line.data_bits >= 5 && line.data_bits <= 8 &&
         line.parity <= VI_ASRL_PAR_SPACE &&
         (line.stop_bits == VI_ASRL_STOP_ONE || line.stop_bits == VI_ASRL_STOP_TWO) &&
         (line.flow & ~kFlowBits) == 0;
}

tcflag_t DataBitsFlag(ViUInt16 bits) {
  switch (bits) {
    case 5:
      return CS5;
    case 6:
      return CS6;
    case 7:
      return CS7;
    default:
      return CS8;
  }
}

void ApplyLine(const LineSettings& line, termios* tio) {
  ::cfmakeraw(tio);
  tio->c_cflag |= CLOCAL | CREAD;
  tio->c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  tio->c_cflag |= DataBitsFlag(line.data_bits);
  if (line.parity != VI_ASRL_PAR_NONE) tio->c_cflag |= PARENB;
  if (line.parity == VI_ASRL_PAR_ODD || line.parity == VI_ASRL_PAR_MARK) tio->c_cflag |= PARODD;
  if (line.parity == VI_ASRL_PAR_MARK || line.parity == VI_ASRL_PAR_SPACE) {
    tio->c_cflag |= CMSPAR;
  }
  if (line.stop_bits == VI_ASRL_STOP_TWO) tio->c_cflag |= CSTOPB;
  if ((line.flow & VI_ASRL_FLOW_RTS_CTS) != 0) tio->c_cflag |= CRTSCTS;
  tio->c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  if ((line.flow & VI_ASRL_FLOW_XON_XOFF) != 0) tio->c_iflag |= IXON | IXOFF;
  tio->c_cc[VMIN] = 0;
  tio->c_cc[VTIME] = 0;
  const speed_t speed = FindBaudRate(line.baud)->code;
  ::cfsetispeed(tio, speed);
  ::cfsetospeed(tio, speed);
}

// Whether the line settings of `taken` are those of `wanted`.
bool SameLine(const termios& wanted, const termios& taken) {
  constexpr tcflag_t kControl = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
  constexpr tcflag_t kInput = IXON | IXOFF;
  return (wanted.c_cflag & kControl) == (taken.c_cflag & kControl) &&
         (wanted.c_iflag & kInput) == (taken.c_iflag & kInput) &&
         ::cfgetospeed(&wanted) == ::cfgetospeed(&taken);
}

class SerialTransport final : public StreamTransport {
 public:
  SerialTransport(UniqueFd fd, const ResourceName& name)
      : StreamTransport(std::move(fd), InterfaceType::kAsrl, name.board,
                        "ASRL::" + name.device_path) {}

  // Puts the line in raw mode with the current settings.
  Status Configure(const LineSettings& line);

 protected:
  long RecvSome(std::uint8_t* data, std::size_t size) override;
  long SendSome(const std::uint8_t* data, std::size_t size) override {
    return ::write(fd(), data, size);
  }
  Framing ReadFraming() const override;
  Status FinishEnd() override;
  Status DiscardDeviceInput() override;
  Status SetExtraAttribute(ViAttr attribute, ViAttrState value) override;
  Status GetExtraAttribute(ViAttr attribute, ViAttrState* value) override;

 private:
  Status SetLineValue(ViUInt32 LineSettings::*field, ViAttrState value);
  Status SetLineValue(ViUInt16 LineSettings::*field, ViAttrState value);

  LineSettings line_;
  ViUInt16 end_in_ = VI_ASRL_END_TERMCHAR;
  ViUInt16 end_out_ = VI_ASRL_END_NONE;
};

long SerialTransport::RecvSome(std::uint8_t* data, std::size_t size) {
  const long received = ::read(fd(), data, size);
  if (received != 0) return received;
  // In raw mode without VMIN a read finds no data with 0; only a hang-up is the end.
  pollfd entry{fd(), POLLIN, 0};
  if (::poll(&entry, 1, 0) == 1 && (entry.revents & (POLLHUP | POLLERR)) != 0) return 0;
  errno = EAGAIN;
  return -1;
}

Status SerialTransport::Configure(const LineSettings& line) {
  if (!IsSupported(line)) return Status(VI_ERROR_NSUP_ATTR_STATE);
  termios previous{};
  if (::tcgetattr(fd(), &previous) != 0) {
    return Status(VI_ERROR_IO, OsFailureText("tcgetattr", errno));
  }
  termios wanted = previous;
  ApplyLine(line, &wanted);
  // tcsetattr succeeds when any part of the change was taken: read back to see all of it was.
  termios taken{};
  const bool applied = ::tcsetattr(fd(), TCSANOW, &wanted) == 0 && ::tcgetattr(fd(), &taken) == 0 &&
                       SameLine(wanted, taken);
  if (!applied) {
    ::tcsetattr(fd(), TCSANOW, &previous);
    return Status(VI_ERROR_NSUP_ATTR_STATE,
                  "The serial device does not take this line setting (" +
                      std::to_string(line.baud) + " baud, " + std::to_string(line.data_bits) +
                      " data bits, parity " + std::to_string(line.parity) + ", stop bits " +
                      std::to_string(line.stop_bits) + ", flow control " +
                      std::to_string(line.flow) + ").");
  }
  line_ = line;
  return Status();
}

StreamTransport::Framing SerialTransport::ReadFraming() const {
  if (end_in_ == VI_ASRL_END_TERMCHAR) return Framing{true, VI_SUCCESS};
  return StreamTransport::ReadFraming();
}

Status SerialTransport::FinishEnd() {
  if (end_out_ == VI_ASRL_END_TERMCHAR) {
    const std::uint8_t end_byte = termchar();
    std::size_t written = 0;
    return SendAll({&end_byte, 1}, &written);
  }
  if (end_out_ == VI_ASRL_END_BREAK && ::tcsendbreak(fd(), 0) != 0) {
    return Status(VI_ERROR_IO, OsFailureText("break", errno));
  }
  return Status();
}

Status SerialTransport::DiscardDeviceInput() {
  if (::tcflush(fd(), TCIOFLUSH) != 0) {
    return TransferFailure(errno, "device clear");
  }
  return Status();
}

Status SerialTransport::SetLineValue(ViUInt32 LineSettings::*field, ViAttrState value) {
  if (value > 0xFFFFFFFFU) return Status(VI_ERROR_NSUP_ATTR_STATE);
  LineSettings line = line_;
  line.*field = static_cast<ViUInt32>(value);
  return Configure(line);
}

Status SerialTransport::SetLineValue(ViUInt16 LineSettings::*field, ViAttrState value) {
  if (value > 0xFFFF) return Status(VI_ERROR_NSUP_ATTR_STATE);
  LineSettings line = line_;
  line.*field = static_cast<ViUInt16>(value);
  return Configure(line);
}

Status SerialTransport::SetExtraAttribute(ViAttr attribute, ViAttrState value) {
  switch (attribute) {
    case VI_ATTR_ASRL_BAUD:
      return SetLineValue(&LineSettings::baud, value);
    case VI_ATTR_ASRL_DATA_BITS:
      return SetLineValue(&LineSettings::data_bits, value);
    case VI_ATTR_ASRL_PARITY:
      return SetLineValue(&LineSettings::parity, value);
    case VI_ATTR_ASRL_STOP_BITS:
      return SetLineValue(&LineSettings::stop_bits, value);
    case VI_ATTR_ASRL_FLOW_CNTRL:
      return SetLineValue(&LineSettings::flow, value);
    case VI_ATTR_ASRL_END_IN:
      if (value != VI_ASRL_END_NONE && value != VI_ASRL_END_TERMCHAR) {
        return Status(VI_ERROR_NSUP_ATTR_STATE);
      }
      end_in_ = static_cast<ViUInt16>(value);
      return Status();
    case VI_ATTR_ASRL_END_OUT:
      if (value != VI_ASRL_END_NONE && value != VI_ASRL_END_TERMCHAR &&
          value != VI_ASRL_END_BREAK) {
        return Status(VI_ERROR_NSUP_ATTR_STATE);
      }
      end_out_ = static_cast<ViUInt16>(value);
      return Status();
    case VI_ATTR_ASRL_AVAIL_NUM:
      return Status(VI_ERROR_ATTR_READONLY);
    default:
      return Status(VI_ERROR_NSUP_ATTR);
  }
}

Status SerialTransport::GetExtraAttribute(ViAttr attribute, ViAttrState* value) {
  switch (attribute) {
    case VI_ATTR_ASRL_BAUD:
      *value = line_.baud;
      return Status();
    case VI_ATTR_ASRL_DATA_BITS:
      *value = line_.data_bits;
      return Status();
    case VI_ATTR_ASRL_PARITY:
      *value = line_.parity;
      return Status();
    case VI_ATTR_ASRL_STOP_BITS:
      *value = line_.stop_bits;
      return Status();
    case VI_ATTR_ASRL_FLOW_CNTRL:
      *value = line_.flow;
      return Status();
    case VI_ATTR_ASRL_END_IN:
      *value = end_in_;
      return Status();
    case VI_ATTR_ASRL_END_OUT:
      *value = end_out_;
      return Status();
    case VI_ATTR_ASRL_AVAIL_NUM: {
      int queued = 0;
      if (::ioctl(fd(), FIONREAD, &queued) != 0 || queued < 0) queued = 0;
      *value = static_cast<ViAttrState>(queued) + read_ahead_size();
      return Status();
    }
    default:
      return Status(VI_ERROR_NSUP_ATTR);
  }
}

}  // namespace

Status OpenSerialTransport(const ResourceName& name, std::unique_ptr<Transport>* transport) {
  const std::string& path = name.device_path;
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid()) {
    const int error = errno;
    const bool missing = error == ENOENT || error == ENODEV || error == ENXIO;
    return Status(missing ? VI_ERROR_RSRC_NFOUND : VI_ERROR_IO,
                  "Could not open serial port " + path + ": " + OsErrorText(error) + ".");
  }
  if (::isatty(fd.get()) == 0) {
    return Status(VI_ERROR_RSRC_NFOUND,
                  "Could not open serial port " + path + ": it is not a serial device.");
  }
  // One session per port: a second one would interleave its bytes with the first's.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    return Status(VI_ERROR_RSRC_BUSY,
                  "Could not open serial port " + path + ": it is in use by another session.");
  }
  auto serial = std::make_unique<SerialTransport>(std::move(fd), name);
  Status status = serial->Configure(LineSettings{});
  if (!status.ok()) {
    return Status(status.code(),
                  "Could not configure serial port " + path + ": " + status.message());
  }
  *transport = std::move(serial);
  return Status();
}

}  // namespace motqr::visa
