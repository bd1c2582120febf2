#include "platform/visa/formatted_io.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com/object.h"
#include "platform/visa/ieee_ascii.h"
#include "platform/visa/visa_com_status.h"

namespace motqr::visa {
namespace {

using com::ComPtr;
using com::S_OK;

constexpr std::size_t kMaxTokenBytes = 256;
constexpr std::int32_t kMaxBufferSize = 16 * 1024 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsNumberDelimiter(char c) { return c == ',' || c == ';' || IsBlank(c); }

// Size of one element of a block of `vt`; 0 for types a block cannot carry.
std::size_t BlockElementSize(com::VARTYPE vt) {
  switch (vt) {
    case com::VT_UI1:
    case com::VT_I1:
      return 1;
    case com::VT_I2:
    case com::VT_UI2:
      return 2;
    case com::VT_I4:
    case com::VT_UI4:
    case com::VT_R4:
      return 4;
    case com::VT_R8:
      return 8;
    default:
      return 0;
  }
}

com::VARTYPE BinaryElementType(IEEEBinaryType type) {
  switch (type) {
    case BinaryType_UI1:
      return com::VT_UI1;
    case BinaryType_I2:
      return com::VT_I2;
    case BinaryType_I4:
      return com::VT_I4;
    case BinaryType_R4:
      return com::VT_R4;
    case BinaryType_R8:
      return com::VT_R8;
  }
  return com::VT_EMPTY;
}

// Reverses the byte order of each `size`-byte element when the instrument's order differs
// from this machine's.
void OrderElements(char* data, std::size_t bytes, std::size_t size, bool big_endian) {
  const bool host_big = std::endian::native == std::endian::big;
  if (size < 2 || big_endian == host_big) return;
  for (std::size_t i = 0; i + size <= bytes; i += size) std::reverse(data + i, data + i + size);
}

std::string SeparatorsOf(BSTR list_separator) {
  std::string separators = com::BstrToUtf8(list_separator);
  return separators.empty() ? std::string(",") : separators;
}

// A one-element VARIANT holding element `index` of a one-dimensional array.
HRESULT ElementOf(SAFEARRAY* array, std::int32_t index, com::Variant* element) {
  VARIANT* v = element->Get();
  com::VariantClear(v);
  const com::VARTYPE vt = array->vt;
  if (vt == com::VT_VARIANT) return com::SafeArrayGetElement(array, &index, v);
  if (BlockElementSize(vt) == 0 && vt != com::VT_BSTR && vt != com::VT_BOOL) {
    return com::DISP_E_BADVARTYPE;
  }
  const HRESULT hr = com::SafeArrayGetElement(array, &index, &v->bVal);
  if (com::Succeeded(hr)) v->vt = vt;
  return hr;
}

class FormattedIO final
    : public com::ComObject<FormattedIO, IFormattedIO488, com::ISupportErrorInfo> {
 public:
  HRESULT QueryInterface(const IID& iid, void** object) override {
    return QueryInterfaceTable(this, iid, object,
                               {Entry<com::IUnknown, IFormattedIO488>(), Entry<IFormattedIO488>(),
                                Entry<com::ISupportErrorInfo>()});
  }
  HRESULT InterfaceSupportsErrorInfo(const IID& iid) override {
    return iid == IFormattedIO488::kIid ? S_OK : com::S_FALSE;
  }

  HRESULT get_IO(IMessage** io) override {
    std::lock_guard<std::mutex> hold(mutex_);
    return io_.CopyTo(io);
  }
  HRESULT putref_IO(IMessage* io) override {
    std::lock_guard<std::mutex> hold(mutex_);
    io_ = ComPtr<IMessage>(io);
    out_.clear();
    ResetInput();
    return S_OK;
  }
  HRESULT get_InstrumentBigEndian(VARIANT_BOOL* big_endian) override {
    if (big_endian == nullptr) return com::E_POINTER;
    std::lock_guard<std::mutex> hold(mutex_);
    *big_endian = big_endian_ ? com::VARIANT_TRUE : com::VARIANT_FALSE;
    return S_OK;
  }
  HRESULT put_InstrumentBigEndian(VARIANT_BOOL big_endian) override {
    std::lock_guard<std::mutex> hold(mutex_);
    big_endian_ = big_endian != com::VARIANT_FALSE;
    return S_OK;
  }
  HRESULT WriteString(BSTR data, VARIANT_BOOL flush_and_end) override {
    std::lock_guard<std::mutex> hold(mutex_);
    return AppendAndFlush(com::BstrToUtf8(data), flush_and_end);
  }
  HRESULT WriteNumber(VARIANT data, IEEEASCIIType type, VARIANT_BOOL flush_and_end) override;
  HRESULT WriteList(VARIANT* data, IEEEASCIIType type, BSTR list_separator,
                    VARIANT_BOOL flush_and_end) override;
  HRESULT WriteIEEEBlock(BSTR command, VARIANT data, VARIANT_BOOL flush_and_end) override;
  HRESULT ReadString(BSTR* data) override;
  HRESULT ReadNumber(IEEEASCIIType type, VARIANT_BOOL flush_to_end, VARIANT* data) override;
  HRESULT ReadList(IEEEASCIIType type, BSTR list_separator, VARIANT* data) override;
  HRESULT ReadIEEEBlock(IEEEBinaryType type, VARIANT_BOOL seek_to_block, VARIANT_BOOL flush_to_end,
                        VARIANT* data) override;
  HRESULT FlushWrite(VARIANT_BOOL send_end) override {
    std::lock_guard<std::mutex> hold(mutex_);
    if (!io_) return NoIo();
    return FlushOut(send_end != com::VARIANT_FALSE);
  }
  HRESULT FlushRead() override {
    std::lock_guard<std::mutex> hold(mutex_);
    ResetInput();
    return S_OK;
  }
  HRESULT SetBufferSize(BufferMask mask, std::int32_t size) override;

 private:
  HRESULT FailHr(HRESULT hr, std::string_view text) {
    return ReportFailure(hr, text, IFormattedIO488::kIid);
  }
  HRESULT Fail(ViStatus code, std::string_view text) { return FailHr(VisaComHresult(code), text); }
  HRESULT NoIo() {
    return Fail(VI_ERROR_INV_OBJECT, "The formatted I/O object has no I/O session: set IO first.");
  }

  // Output
  HRESULT SendBytes(std::string_view bytes, bool end);
  HRESULT Append(std::string_view bytes);
  HRESULT FlushOut(bool end);
  HRESULT AppendAndFlush(std::string_view bytes, VARIANT_BOOL flush_and_end) {
    if (!io_) return NoIo();
    HRESULT hr = Append(bytes);
    if (com::Succeeded(hr) && flush_and_end != com::VARIANT_FALSE) hr = FlushOut(true);
    return hr;
  }

  // Input
  void ResetInput() {
    in_.clear();
    in_pos_ = 0;
    in_has_end_ = false;
  }
  bool Available() const { return in_pos_ < in_.size(); }
  HRESULT Fill(std::size_t wanted);
  HRESULT Take(char* c, bool* last);
  HRESULT TakeResponse(std::string* response);
  // The next number token of the response; `ended` tells that the response ended with it.
  HRESULT TakeToken(std::string* token, bool* ended);
  HRESULT TakeBytes(std::size_t count, std::string* bytes, bool* ended);
  // Drops the rest of the current response (which has not ended yet).
  HRESULT DiscardResponse();

  std::mutex mutex_;
  ComPtr<IMessage> io_;
  bool big_endian_ = true;
  std::string out_;
  std::size_t out_size_ = kDefaultFormattedBufferSize;
  std::string in_;
  std::size_t in_pos_ = 0;
  bool in_has_end_ = false;  // the bytes in in_ run to the end of the response
  std::size_t in_size_ = kDefaultFormattedBufferSize;
};

HRESULT FormattedIO::SendBytes(std::string_view bytes, bool end) {
  com::SafeArray array =
      com::SafeArray::CreateVector(com::VT_UI1, static_cast<std::uint32_t>(bytes.size()));
  if (!array) return com::E_OUTOFMEMORY;
  std::memcpy(array.Data<std::uint8_t>().data(), bytes.data(), bytes.size());
  VARIANT_BOOL send_end = com::VARIANT_TRUE;
  HRESULT hr = io_->get_SendEndEnabled(&send_end);
  if (com::Failed(hr)) return hr;
  const VARIANT_BOOL wanted = end ? com::VARIANT_TRUE : com::VARIANT_FALSE;
  if (send_end != wanted && com::Failed(hr = io_->put_SendEndEnabled(wanted))) return hr;
  SAFEARRAY* data = array.Get();
  std::int32_t written = 0;
  hr = io_->Write(&data, static_cast<std::int32_t>(bytes.size()), &written);
  if (send_end != wanted) io_->put_SendEndEnabled(send_end);
  if (com::Succeeded(hr) && static_cast<std::size_t>(written) != bytes.size()) {
    return Fail(VI_ERROR_IO, "The device took only " + std::to_string(written) + " of " +
                                 std::to_string(bytes.size()) + " bytes.");
  }
  return hr;
}

HRESULT FormattedIO::Append(std::string_view bytes) {
  out_.append(bytes);
  // A full buffer goes out without END.
  while (out_.size() >= out_size_ && out_.size() > 0) {
    const HRESULT hr = SendBytes(std::string_view(out_).substr(0, out_size_), false);
    out_.erase(0, out_size_);
    if (com::Failed(hr)) {
      out_.clear();
      return hr;
    }
  }
  return S_OK;
}

HRESULT FormattedIO::FlushOut(bool end) {
  if (out_.empty()) return S_OK;
  const std::string pending = std::move(out_);
  out_.clear();
  return SendBytes(pending, end);
}

HRESULT FormattedIO::Fill(std::size_t wanted) {
  if (!io_) return NoIo();
  if (in_pos_ > 0) {
    in_.erase(0, in_pos_);
    in_pos_ = 0;
  }
  if (in_.size() >= kMaxResponseBytes) {
    ResetInput();
    return Fail(VI_ERROR_IO, "The response is longer than the formatted I/O limit of " +
                                 std::to_string(kMaxResponseBytes) + " bytes.");
  }
  const std::size_t count = std::clamp<std::size_t>(wanted, 1, in_size_);
  com::SafeArray chunk;
  const HRESULT hr = io_->Read(static_cast<std::int32_t>(count), chunk.Put());
  if (com::Failed(hr)) {
    ResetInput();
    return hr;
  }
  const auto bytes = chunk.Data<std::uint8_t>();
  in_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  in_has_end_ = hr != S_VISA_MAX_CNT;
  return S_OK;
}

HRESULT FormattedIO::Take(char* c, bool* last) {
  while (!Available()) {
    const HRESULT hr = Fill(in_size_);
    if (com::Failed(hr)) return hr;
    if (!Available() && in_has_end_) {
      // An empty response.
      ResetInput();
      *last = true;
      *c = '\0';
      return com::S_FALSE;
    }
  }
  *c = in_[in_pos_++];
  *last = !Available() && in_has_end_;
  if (*last) ResetInput();
  return S_OK;
}

HRESULT FormattedIO::TakeResponse(std::string* response) {
  while (!in_has_end_) {
    const HRESULT hr = Fill(in_size_);
    if (com::Failed(hr)) return hr;
  }
  response->assign(in_, in_pos_, std::string::npos);
  ResetInput();
  return S_OK;
}

HRESULT FormattedIO::TakeToken(std::string* token, bool* ended) {
  token->clear();
  char c = 0;
  bool last = false;
  do {  // leading blanks
    const HRESULT hr = Take(&c, &last);
    if (com::Failed(hr)) return hr;
    if (hr == com::S_FALSE || (last && IsBlank(c))) {
      return Fail(VI_ERROR_IO, "The response holds no number.");
    }
  } while (IsBlank(c) && !last);
  while (true) {
    if (IsNumberDelimiter(c)) break;
    if (token->size() == kMaxTokenBytes) {
      ResetInput();
      return Fail(VI_ERROR_IO, "A number in the response is longer than " +
                                   std::to_string(kMaxTokenBytes) + " characters.");
    }
    token->push_back(c);
    if (last) break;
    const HRESULT hr = Take(&c, &last);
    if (com::Failed(hr)) return hr;
  }
  *ended = last;
  if (token->empty()) return Fail(VI_ERROR_IO, "The response holds no number.");
  return S_OK;
}

HRESULT FormattedIO::TakeBytes(std::size_t count, std::string* bytes, bool* ended) {
  bytes->clear();
  *ended = false;
  auto take_buffered = [&] {
    const std::size_t take = std::min(count - bytes->size(), in_.size() - in_pos_);
    bytes->append(in_, in_pos_, take);
    in_pos_ += take;
  };
  take_buffered();
  HRESULT hr = S_OK;
  if (bytes->size() < count) {
    // Block data may hold the termination character: read the rest with it off, so each read
    // runs to the block's length instead of stopping inside the data.
    VARIANT_BOOL termchar_enabled = com::VARIANT_FALSE;
    hr = io_->get_TerminationCharacterEnabled(&termchar_enabled);
    if (com::Succeeded(hr) && termchar_enabled != com::VARIANT_FALSE) {
      hr = io_->put_TerminationCharacterEnabled(com::VARIANT_FALSE);
    }
    while (com::Succeeded(hr) && bytes->size() < count) {
      hr = Fill(count - bytes->size());
      if (com::Succeeded(hr) && !Available()) {
        hr = Fail(VI_ERROR_IO, "The response ended inside a binary block.");
      }
      if (com::Succeeded(hr)) take_buffered();
    }
    if (termchar_enabled != com::VARIANT_FALSE) {
      const HRESULT restored = io_->put_TerminationCharacterEnabled(termchar_enabled);
      if (com::Succeeded(hr)) hr = restored;
    }
    if (com::Failed(hr)) return hr;
  }
  if (!Available() && in_has_end_) {
    ResetInput();
    *ended = true;
  }
  return S_OK;
}

HRESULT FormattedIO::DiscardResponse() {
  std::size_t discarded = 0;
  while (!in_has_end_) {
    discarded += in_.size() - in_pos_;
    in_pos_ = in_.size();
    if (discarded > kMaxResponseBytes) {
      ResetInput();
      return Fail(VI_ERROR_IO, "The rest of the response is too long to discard.");
    }
    const HRESULT hr = Fill(in_size_);
    if (com::Failed(hr)) return hr;
  }
  ResetInput();
  return S_OK;
}

HRESULT FormattedIO::WriteNumber(VARIANT data, IEEEASCIIType type, VARIANT_BOOL flush_and_end) {
  std::lock_guard<std::mutex> hold(mutex_);
  std::string text;
  const HRESULT hr = FormatAsciiValue(data, type, &text);
  if (com::Failed(hr))
    return FailHr(hr, "The value cannot be written as the requested number type.");
  return AppendAndFlush(text, flush_and_end);
}

HRESULT FormattedIO::WriteList(VARIANT* data, IEEEASCIIType type, BSTR list_separator,
                               VARIANT_BOOL flush_and_end) {
  if (data == nullptr) return com::E_POINTER;
  std::lock_guard<std::mutex> hold(mutex_);
  if ((data->vt & com::VT_ARRAY) == 0) {
    std::string text;
    const HRESULT hr = FormatAsciiValue(*data, type, &text);
    if (com::Failed(hr)) return FailHr(hr, "The value cannot be written as the requested type.");
    return AppendAndFlush(text, flush_and_end);
  }
  SAFEARRAY* array = data->parray;
  if (array == nullptr || com::SafeArrayGetDim(array) != 1) {
    return FailHr(com::DISP_E_TYPEMISMATCH, "WriteList takes a one-dimensional array.");
  }
  std::int32_t lower = 0;
  std::int32_t upper = -1;
  com::SafeArrayGetLBound(array, 1, &lower);
  com::SafeArrayGetUBound(array, 1, &upper);
  const std::string separator = SeparatorsOf(list_separator);
  std::string text;
  com::Variant element;
  for (std::int32_t i = lower; i <= upper; ++i) {
    std::string item;
    HRESULT hr = ElementOf(array, i, &element);
    if (com::Succeeded(hr)) hr = FormatAsciiValue(*element.Get(), type, &item);
    if (com::Failed(hr)) {
      return FailHr(hr,
                    "Element " + std::to_string(i) + " cannot be written as the requested type.");
    }
    if (i > lower) text += separator;
    text += item;
  }
  return AppendAndFlush(text, flush_and_end);
}

HRESULT FormattedIO::WriteIEEEBlock(BSTR command, VARIANT data, VARIANT_BOOL flush_and_end) {
  std::lock_guard<std::mutex> hold(mutex_);
  SAFEARRAY* array = (data.vt & com::VT_ARRAY) != 0 ? data.parray : nullptr;
  const std::size_t size = array != nullptr ? BlockElementSize(array->vt) : 0;
  if (size == 0 || com::SafeArrayGetDim(array) != 1) {
    return FailHr(com::DISP_E_TYPEMISMATCH,
                  "WriteIEEEBlock takes a one-dimensional array of bytes, integers or reals.");
  }
  const std::size_t bytes = com::SafeArrayElementCount(array) * size;
  const std::string length = std::to_string(bytes);
  std::string block = com::BstrToUtf8(command) + "#" + std::to_string(length.size()) + length;
  const std::size_t start = block.size();
  block.resize(start + bytes);
  void* elements = nullptr;
  if (com::Failed(com::SafeArrayAccessData(array, &elements))) return com::E_UNEXPECTED;
  std::memcpy(block.data() + start, elements, bytes);
  com::SafeArrayUnaccessData(array);
  OrderElements(block.data() + start, bytes, size, big_endian_);
  return AppendAndFlush(block, flush_and_end);
}

HRESULT FormattedIO::ReadString(BSTR* data) {
  if (data == nullptr) return com::E_POINTER;
  *data = nullptr;
  std::lock_guard<std::mutex> hold(mutex_);
  if (!io_) return NoIo();
  std::string response;
  const HRESULT hr = TakeResponse(&response);
  if (com::Failed(hr)) return hr;
  *data = com::AllocBstrFromUtf8(response);
  return *data != nullptr ? S_OK : com::E_OUTOFMEMORY;
}

HRESULT FormattedIO::ReadNumber(IEEEASCIIType type, VARIANT_BOOL flush_to_end, VARIANT* data) {
  if (data == nullptr) return com::E_POINTER;
  com::VariantInit(data);
  std::lock_guard<std::mutex> hold(mutex_);
  if (!io_) return NoIo();
  if (AsciiElementType(type) == com::VT_EMPTY) {
    return Fail(VI_ERROR_INV_PARAMETER, "Unknown IEEEASCIIType.");
  }
  std::string token;
  bool ended = false;
  HRESULT hr = TakeToken(&token, &ended);
  if (com::Failed(hr)) return hr;
  hr = ParseAsciiValue(token, type, data);
  if (com::Failed(hr)) {
    com::VariantClear(data);
    ResetInput();
    return FailHr(hr, "\"" + token + "\" is not a number of the requested type.");
  }
  if (flush_to_end != com::VARIANT_FALSE && !ended) return DiscardResponse();
  return S_OK;
}

HRESULT FormattedIO::ReadList(IEEEASCIIType type, BSTR list_separator, VARIANT* data) {
  if (data == nullptr) return com::E_POINTER;
  com::VariantInit(data);
  std::lock_guard<std::mutex> hold(mutex_);
  if (!io_) return NoIo();
  const com::VARTYPE vt = AsciiElementType(type);
  if (vt == com::VT_EMPTY) return Fail(VI_ERROR_INV_PARAMETER, "Unknown IEEEASCIIType.");
  std::string response;
  HRESULT hr = TakeResponse(&response);
  if (com::Failed(hr)) return hr;
  while (!response.empty() && IsBlank(response.back())) response.pop_back();
  const std::string separators = SeparatorsOf(list_separator);
  std::vector<std::string_view> tokens;
  std::string_view rest = response;
  while (!rest.empty()) {
    const std::size_t cut = rest.find_first_of(separators);
    tokens.push_back(rest.substr(0, cut));
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 1);
  }
  const com::VARTYPE element_type =
      type == ASCIIType_Any ? static_cast<com::VARTYPE>(com::VT_VARIANT) : vt;
  com::SafeArray array =
      com::SafeArray::CreateVector(element_type, static_cast<std::uint32_t>(tokens.size()));
  if (!array) return com::E_OUTOFMEMORY;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    com::Variant value;
    hr = ParseAsciiValue(tokens[i], type, value.Get());
    if (com::Failed(hr)) {
      return FailHr(hr,
                    "\"" + std::string(tokens[i]) + "\" is not a number of the requested type.");
    }
    const auto index = static_cast<std::int32_t>(i);
    const void* element = element_type == com::VT_VARIANT ? static_cast<const void*>(value.Get())
                          : element_type == com::VT_BSTR
                              ? static_cast<const void*>(value.Get()->bstrVal)
                              : static_cast<const void*>(&value.Get()->bVal);
    hr = com::SafeArrayPutElement(array.Get(), &index, element);
    if (com::Failed(hr)) return hr;
  }
  data->vt = static_cast<com::VARTYPE>(com::VT_ARRAY | element_type);
  data->parray = array.Detach();
  return S_OK;
}

HRESULT FormattedIO::ReadIEEEBlock(IEEEBinaryType type, VARIANT_BOOL seek_to_block,
                                   VARIANT_BOOL flush_to_end, VARIANT* data) {
  if (data == nullptr) return com::E_POINTER;
  com::VariantInit(data);
  std::lock_guard<std::mutex> hold(mutex_);
  if (!io_) return NoIo();
  const com::VARTYPE vt = BinaryElementType(type);
  const std::size_t size = BlockElementSize(vt);
  if (size == 0) return Fail(VI_ERROR_INV_PARAMETER, "Unknown IEEEBinaryType.");
  auto no_header = [this] {
    ResetInput();
    return Fail(VI_ERROR_IO, "Binary block header not found.");
  };
  char c = 0;
  bool last = false;
  do {
    const HRESULT hr = Take(&c, &last);
    if (com::Failed(hr)) return hr;
    if (c == '#') break;
    if (last || (seek_to_block == com::VARIANT_FALSE && !IsBlank(c))) return no_header();
  } while (true);
  if (last) return no_header();
  HRESULT hr = Take(&c, &last);
  if (com::Failed(hr)) return hr;
  if (c < '0' || c > '9') return no_header();
  std::string bytes;
  if (c == '0') {
    // Indefinite length: the block runs to the end of the response.
    if (!last) hr = TakeResponse(&bytes);
    if (com::Failed(hr)) return hr;
    while (!bytes.empty() && bytes.back() == '\n') bytes.pop_back();
  } else {
    const auto digits = static_cast<std::size_t>(c - '0');
    std::size_t length = 0;
    for (std::size_t i = 0; i < digits; ++i) {
      if (last) return no_header();
      hr = Take(&c, &last);
      if (com::Failed(hr)) return hr;
      if (c < '0' || c > '9') return no_header();
      length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    if (length > kMaxResponseBytes) {
      ResetInput();
      return Fail(VI_ERROR_IO, "The binary block of " + std::to_string(length) +
                                   " bytes is longer than the formatted I/O limit.");
    }
    if (length > 0 && last) return Fail(VI_ERROR_IO, "The response ended inside a binary block.");
    bool ended = last;
    if (length > 0) hr = TakeBytes(length, &bytes, &ended);
    if (com::Failed(hr)) return hr;
    if (flush_to_end != com::VARIANT_FALSE && !ended) hr = DiscardResponse();
    if (com::Failed(hr)) return hr;
  }
  if (bytes.size() % size != 0) {
    return Fail(VI_ERROR_IO, "The binary block length is not a whole number of elements.");
  }
  com::SafeArray array =
      com::SafeArray::CreateVector(vt, static_cast<std::uint32_t>(bytes.size() / size));
  if (!array) return com::E_OUTOFMEMORY;
  OrderElements(bytes.data(), bytes.size(), size, big_endian_);
  if (!bytes.empty()) std::memcpy(array.Get()->pvData, bytes.data(), bytes.size());
  data->vt = static_cast<com::VARTYPE>(com::VT_ARRAY | vt);
  data->parray = array.Detach();
  return S_OK;
}

HRESULT FormattedIO::SetBufferSize(BufferMask mask, std::int32_t size) {
  std::lock_guard<std::mutex> hold(mutex_);
  if ((mask & ~IO_IN_AND_OUT_BUFS) != 0 || (mask & IO_IN_AND_OUT_BUFS) == 0) {
    return Fail(VI_ERROR_INV_PARAMETER, "The buffer mask must be IO_IN_BUF, IO_OUT_BUF or both.");
  }
  if (size <= 0 || size > kMaxBufferSize) {
    return Fail(VI_ERROR_INV_PARAMETER,
                "The buffer size must be 1 to " + std::to_string(kMaxBufferSize) + " bytes.");
  }
  if ((mask & IO_IN_BUF) != 0) in_size_ = static_cast<std::size_t>(size);
  if ((mask & IO_OUT_BUF) != 0) out_size_ = static_cast<std::size_t>(size);
  return S_OK;
}

}  // namespace

HRESULT CreateFormattedIO488(com::IUnknown* outer, const IID& iid, void** object) {
  if (object == nullptr) return com::E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return com::CLASS_E_NOAGGREGATION;
  ComPtr<IFormattedIO488> created = com::MakeObject<FormattedIO, IFormattedIO488>();
  if (!created) return com::E_OUTOFMEMORY;
  return created->QueryInterface(iid, object);
}

}  // namespace motqr::visa
