// What the generated binding files share: the Python object of one interface,
// the call wrapper that releases the GIL and turns a status into an exception,
// and the conversions of arrays and enumeration values.
//
//   c.def_property_readonly("voltage_level", [](Obj<IMorvaneTqrOutputChannel>& o) {
//     double v{};
//     Call([&] { return o.p->get_VoltageLevel(&v); });
//     return v;
//   });
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "component/motqr.hpp"
#include "interfaces/motqr_interfaces.h"

namespace motqr::python {

namespace py = pybind11;
using com::HRESULT;
using com::VARIANT_BOOL;

// One interface of a driver or channel object. `root` keeps the driver object
// alive for as long as any Python object reached from it.
template <class I>
struct Obj {
  com::ComPtr<I> p;
  com::ComPtr<IIviDriver> root;
};

// Raises motqr.Error for a failure and issues a motqr.DriverWarning for a
// warning; the calling thread's error object supplies the text.
[[noreturn]] void RaiseError(HRESULT hr);
void Warn(HRESULT hr);

inline void Check(HRESULT hr) {
  if (hr == com::S_OK) return;
  if (hr < 0) RaiseError(hr);
  Warn(hr);
}

// Runs `call` (a member of the driver) without the GIL, then checks its status.
template <class F>
void Call(F&& call) {
  HRESULT hr;
  {
    py::gil_scoped_release unlocked;
    hr = call();
  }
  Check(hr);
}

// An array input from any sequence, buffer or numpy array, as elements of `vt`.
com::SafeArray InArray(py::handle values, com::VARTYPE vt);
// An array result: a numpy array of the element type, or a list of str.
py::object OutArray(const com::SafeArray& array);
// A caller array of doubles the member fills in place, NaN until then.
com::SafeArray NaNArray(std::int32_t size);
// The filled array (or the one the member put in its place).
py::object InOutArray(com::SafeArray& array, com::SAFEARRAY* after);
// The member of enumeration number `index` (the order of enums.def) with that
// value; the plain int when the enumeration has no such member.
py::object EnumValue(int index, std::int32_t value);

// The Python object of an interface pointer a member handed out.
template <class I>
py::object NewObject(Obj<I>&& o) {
  if (!o.p) throw py::value_error("the member handed out no object");
  py::object result = py::cast(std::move(o), py::return_value_policy::move);
  if (!result) throw py::error_already_set();
  return result;
}

// __getitem__ (name or 0-based index), __len__ and __iter__ of a collection
// interface with get_Item, get_Count and get_Name.
template <class I>
void AddCollection(py::class_<Obj<I>>& c) {
  c.def("__len__", [](Obj<I>& o) {
    std::int32_t count = 0;
    Call([&] { return o.p->get_Count(&count); });
    return count;
  });
  c.def("__getitem__", [](py::object self, py::object key) -> py::object {
    Obj<I>& o = self.cast<Obj<I>&>();
    if (py::isinstance<py::int_>(key)) {
      std::int32_t count = 0;
      Call([&] { return o.p->get_Count(&count); });
      std::int64_t index = key.cast<std::int64_t>();
      if (index < 0) index += count;
      if (index < 0 || index >= count) throw py::index_error("channel index out of range");
      key = self.attr("name")(index + 1);
    }
    return self.attr("item")(key);
  });
  c.def("__iter__", [](py::object self) {
    py::list items;
    const auto count = py::len(self);
    for (std::size_t i = 0; i < count; ++i)
      items.append(self.attr("item")(self.attr("name")(i + 1)));
    return py::iter(items);
  });
}

extern const char* const kPythonSource[];

void BindPart0(py::module_& m);
void BindPart1(py::module_& m);
void BindPart2(py::module_& m);
void BindPart3(py::module_& m);

}  // namespace motqr::python
