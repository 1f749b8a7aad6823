#include "python_json.h"

#include <cmath>

namespace kalvar::python {

namespace py = pybind11;
using Json = nlohmann::ordered_json;

namespace {

std::string where(const std::string& path) {
    return path.empty() ? "task" : path;
}

Json wholeNumber(py::handle value, const std::string& path) {
    int overflow = 0;
    const long long signedValue = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (overflow == 0) {
        if (signedValue == -1 && PyErr_Occurred()) throw py::error_already_set();
        return signedValue;
    }
    if (overflow > 0) {
        const unsigned long long unsignedValue = PyLong_AsUnsignedLongLong(value.ptr());
        if (!PyErr_Occurred()) return unsignedValue;
        PyErr_Clear();
    }
    throw py::value_error(where(path) + ": the whole number is too large for JSON");
}

Json jsonAt(py::handle value, const std::string& path) {
    if (value.is_none()) return nullptr;
    if (PyBool_Check(value.ptr())) return value.cast<bool>();
    if (PyLong_Check(value.ptr())) return wholeNumber(value, path);
    if (PyFloat_Check(value.ptr())) {
        const double number = PyFloat_AsDouble(value.ptr());
        if (!std::isfinite(number)) throw py::value_error(where(path) + ": expected a finite number");
        return number;
    }
    if (PyUnicode_Check(value.ptr())) {
        Py_ssize_t size = 0;
        const char* text = PyUnicode_AsUTF8AndSize(value.ptr(), &size);
        if (!text) {
            PyErr_Clear();
            throw py::value_error(where(path) + ": the text is not valid Unicode");
        }
        return std::string(text, static_cast<size_t>(size));
    }
    if (PyDict_Check(value.ptr())) {
        Json object = Json::object();
        for (const auto& [key, item] : py::reinterpret_borrow<py::dict>(value)) {
            if (!PyUnicode_Check(key.ptr())) throw py::value_error(where(path) + ": a key is not a string");
            const std::string name = key.cast<std::string>();
            object[name] = jsonAt(item, path.empty() ? name : path + "." + name);
        }
        return object;
    }
    if (PyList_Check(value.ptr()) || PyTuple_Check(value.ptr())) {
        Json array = Json::array();
        size_t index = 0;
        for (const py::handle item : value)
            array.push_back(jsonAt(item, where(path) + "[" + std::to_string(index++) + "]"));
        return array;
    }
    // Whole numbers of other kinds (numpy's, say) are numbers too.
    if (PyIndex_Check(value.ptr()))
        return wholeNumber(py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr())), path);
    throw py::type_error(where(path) + ": a " + std::string(Py_TYPE(value.ptr())->tp_name) +
                         " is not a JSON value");
}

// UTF-8 as a Python str; bytes that are not UTF-8 become U+FFFD, as the CLI writes them.
py::object decodedText(const std::string& text) {
    PyObject* decoded = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "replace");
    if (!decoded) throw py::error_already_set();
    return py::reinterpret_steal<py::object>(decoded);
}

} // namespace

Json jsonOf(py::handle value) {
    return jsonAt(value, "");
}

std::string taskTextOf(py::handle task) {
    if (PyUnicode_Check(task.ptr())) return jsonAt(task, "").get<std::string>();
    if (PyBytes_Check(task.ptr())) return task.cast<std::string>();
    if (PyDict_Check(task.ptr())) return jsonOf(task).dump();
    throw py::type_error("a task is a dict or a JSON text, not a " +
                         std::string(Py_TYPE(task.ptr())->tp_name));
}

py::object pythonOf(const Json& value) {
    switch (value.type()) {
    case Json::value_t::object: {
        // The C API directly: a result has some hundred values, and this is the module's own share of a call.
        py::dict object;
        for (auto item = value.begin(); item != value.end(); ++item)
            if (PyDict_SetItem(object.ptr(), decodedText(item.key()).ptr(), pythonOf(item.value()).ptr()) !=
                0)
                throw py::error_already_set();
        return object;
    }
    case Json::value_t::array: {
        py::list array(value.size());
        Py_ssize_t index = 0;
        for (const Json& item : value)
            PyList_SET_ITEM(array.ptr(), index++, pythonOf(item).release().ptr());
        return array;
    }
    case Json::value_t::string:
        return decodedText(value.get_ref<const std::string&>());
    case Json::value_t::boolean:
        return py::bool_(value.get<bool>());
    case Json::value_t::number_integer:
        return py::int_(value.get<long long>());
    case Json::value_t::number_unsigned:
        return py::int_(value.get<unsigned long long>());
    case Json::value_t::number_float: {
        const double number = value.get<double>();
        if (!std::isfinite(number)) return py::none();
        return py::float_(number);
    }
    default:
        return py::none();
    }
}

} // namespace kalvar::python
