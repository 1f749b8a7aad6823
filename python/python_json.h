#pragma once
// JSON values between Python objects and nlohmann::ordered_json: a task given as a dict becomes the
// text the task reader parses, and a result comes back as dicts, lists, strings and numbers equal
// to what `json.loads` makes of the CLI's output.
#include <string>

#include <nlohmann/json.hpp>
#include <pybind11/pybind11.h>

namespace kalvar::python {

// A Python value as JSON: dict (string keys), list or tuple, str, int, float, bool, None. Throws
// py::value_error naming the key path ("heating.heatLoad: ...") for a value JSON cannot hold (a
// number that is not finite, a key that is not a string) and py::type_error for an object of another type.
nlohmann::ordered_json jsonOf(pybind11::handle value);

// The text of a task: a str or bytes as it is, a dict written as JSON. Anything else is a type error.
std::string taskTextOf(pybind11::handle task);

// JSON as Python objects, keys in their order; strings that are not valid UTF-8 get U+FFFD and a number
// that is not finite becomes None, as the CLI writes them.
pybind11::object pythonOf(const nlohmann::ordered_json& value);

} // namespace kalvar::python
