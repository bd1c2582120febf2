// The motqr extension module: the driver class and its hand-written members,
// the error and array conversions, and the generated classes and enumerations.
#include <pybind11/eval.h>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/com/error_info.h"
#include "python/src/binding.h"

namespace motqr::python {
namespace {

// Filled once at import, read under the GIL.
py::object* g_error = nullptr;
py::object* g_warning = nullptr;
std::vector<py::dict>* g_enum_values = nullptr;

std::string Description(HRESULT hr) {
  com::ErrorRecord record;
  if (com::TakeErrorInfo(&record) && !record.description.empty()) return record.description;
  char text[48];
  std::snprintf(text, sizeof text, "status 0x%08X", static_cast<unsigned>(hr));
  return text;
}

template <class T>
py::array_t<T> NumpyCopy(const com::SafeArray& array) {
  const auto values = array.Data<T>();
  py::array_t<T> result(static_cast<py::ssize_t>(values.size()));
  if (!values.empty()) std::memcpy(result.mutable_data(), values.data(), values.size_bytes());
  return result;
}

template <class T>
com::SafeArray CopyIn(py::handle values, com::VARTYPE vt) {
  auto array = py::array_t<T, py::array::c_style | py::array::forcecast>::ensure(values);
  if (!array) throw py::error_already_set();
  if (array.ndim() != 1) throw py::value_error("expected a one-dimensional array");
  auto result = com::SafeArray::CreateVector(vt, static_cast<std::uint32_t>(array.size()));
  if (!result) throw std::bad_alloc();
  if (array.size() > 0) {
    std::memcpy(result.Get()->pvData, array.data(), static_cast<std::size_t>(array.nbytes()));
  }
  return result;
}

}  // namespace

void RaiseError(HRESULT hr) {
  py::object error = (*g_error)(hr, Description(hr));
  PyErr_SetObject(g_error->ptr(), error.ptr());
  throw py::error_already_set();
}

void Warn(HRESULT hr) {
  py::object warning = (*g_warning)(hr, Description(hr));
  py::module_::import("warnings").attr("warn")(warning, py::arg("stacklevel") = 2);
}

com::SafeArray InArray(py::handle values, com::VARTYPE vt) {
  if (py::isinstance<py::str>(values)) throw py::type_error("expected a sequence of numbers");
  if (vt == com::VT_UI1 && (PyBytes_Check(values.ptr()) || PyByteArray_Check(values.ptr()))) {
    const bool is_bytes = PyBytes_Check(values.ptr());
    const auto* data =
        is_bytes ? PyBytes_AS_STRING(values.ptr()) : PyByteArray_AS_STRING(values.ptr());
    const auto size = static_cast<std::size_t>(is_bytes ? PyBytes_GET_SIZE(values.ptr())
                                                        : PyByteArray_GET_SIZE(values.ptr()));
    auto result = com::SafeArray::CreateVector(vt, static_cast<std::uint32_t>(size));
    if (!result) throw std::bad_alloc();
    if (size > 0) std::memcpy(result.Get()->pvData, data, size);
    return result;
  }
  switch (vt) {
    case com::VT_R8:
      return CopyIn<double>(values, vt);
    case com::VT_UI1:
      return CopyIn<std::uint8_t>(values, vt);
    default:
      return CopyIn<std::int32_t>(values, com::VT_I4);
  }
}

py::object OutArray(const com::SafeArray& array) {
  switch (array.vt()) {
    case com::VT_R8:
      return NumpyCopy<double>(array);
    case com::VT_R4:
      return NumpyCopy<float>(array);
    case com::VT_I4:
      return NumpyCopy<std::int32_t>(array);
    case com::VT_UI4:
      return NumpyCopy<std::uint32_t>(array);
    case com::VT_I2:
      return NumpyCopy<std::int16_t>(array);
    case com::VT_UI1:
      return NumpyCopy<std::uint8_t>(array);
    case com::VT_I8:
      return NumpyCopy<std::int64_t>(array);
    case com::VT_BSTR: {
      py::list texts;
      for (BSTR text : array.Data<BSTR>()) texts.append(py::str(com::BstrToUtf8(text)));
      return texts;
    }
    default:
      return py::array_t<double>(0);
  }
}

com::SafeArray NaNArray(std::int32_t size) {
  if (size < 0) throw py::value_error("size must not be negative");
  auto array = com::SafeArray::CreateVector(com::VT_R8, static_cast<std::uint32_t>(size));
  if (!array) throw std::bad_alloc();
  for (double& v : array.Data<double>()) v = std::numeric_limits<double>::quiet_NaN();
  return array;
}

py::object InOutArray(com::SafeArray& array, com::SAFEARRAY* after) {
  if (after != array.Get()) {
    array.Detach();  // the member destroyed or replaced it
    array = com::SafeArray::Attach(after);
  }
  return OutArray(array);
}

py::object EnumValue(int index, std::int32_t value) {
  py::int_ key(value);
  PyObject* member =
      PyDict_GetItem((*g_enum_values)[static_cast<std::size_t>(index)].ptr(), key.ptr());
  if (!member) return key;
  return py::reinterpret_borrow<py::object>(member);
}

namespace {

Obj<IMorvaneTqr> NewDriver() {
  Obj<IMorvaneTqr> o;
  Check(CreateMorvaneTqr(o.root.Put()));
  Check(o.root.As(&o.p));
  return o;
}

void BindDriverExtras(py::module_& m) {
  auto cls = py::reinterpret_borrow<py::class_<Obj<IMorvaneTqr>>>(m.attr("MorvaneTqr"));
  cls.def(py::init(&NewDriver), "A driver object, not yet initialized.");
  cls.def(
      "initialize",
      [](Obj<IMorvaneTqr>& o, const std::string& resource, bool id_query, bool reset,
         const std::string& options) {
        com::Bstr r = com::Bstr::FromUtf8(resource);
        com::Bstr s = com::Bstr::FromUtf8(options);
        Call([&] {
          return o.p->Initialize(r.Get(), id_query ? com::VARIANT_TRUE : com::VARIANT_FALSE,
                                 reset ? com::VARIANT_TRUE : com::VARIANT_FALSE, s.Get());
        });
      },
      py::arg("resource"), py::arg("id_query") = true, py::arg("reset") = false,
      py::arg("options") = "",
      "initialize(resource, id_query=True, reset=False, options='') -- "
      "IIviDriver.Initialize\n\nOpens the session to the instrument named by the VISA resource "
      "(\"TCPIP::host::5025::SOCKET\", ...); options such as \"Simulate=true\".");
  cls.def("__enter__", [](py::object self) { return self; });
  cls.def("__exit__", [](Obj<IMorvaneTqr>& o, py::args) {
    VARIANT_BOOL initialized = com::VARIANT_FALSE;
    Call([&] { return o.p->get_Initialized(&initialized); });
    if (initialized != com::VARIANT_FALSE) Call([&] { return o.p->Close(); });
  });
  cls.def_property_readonly(
      "ivi_dcpwr",
      [](Obj<IMorvaneTqr>& o) {
        Obj<IIviDCPwr> r{{}, o.root};
        Check(o.root.As(&r.p));
        return r;
      },
      "The IviDCPwr class interfaces of the same driver (no I/O).");
}

}  // namespace
}  // namespace motqr::python

PYBIND11_MODULE(motqr, m) {
  namespace mp = motqr::python;
  m.doc() = "The Morvane TQR-M1..M7 bipolar DC power supply driver.";
  mp::BindPart0(m);
  mp::BindPart1(m);
  mp::BindPart2(m);
  mp::BindPart3(m);
  mp::BindDriverExtras(m);

  std::string source;
  for (const char* const* chunk = mp::kPythonSource; *chunk; ++chunk) source += *chunk;
  pybind11::exec(source, m.attr("__dict__"));
  mp::g_error = new pybind11::object(m.attr("Error"));
  mp::g_warning = new pybind11::object(m.attr("DriverWarning"));
  mp::g_enum_values = new std::vector<pybind11::dict>();
  for (pybind11::handle e : m.attr("_ENUMS")) {
    pybind11::dict values;
    for (pybind11::handle member : e) values[member.attr("value")] = member;
    mp::g_enum_values->push_back(values);
  }
}
