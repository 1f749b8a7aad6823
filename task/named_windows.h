#pragma once
// The windows of a task in the named format and in control ids, each written as the other. The
// named keys are the task keys of the window model's table of controls.
#include <string>

#include <nlohmann/json.hpp>

namespace kalvar {

// The named window objects and the forms they stand for, in the order the named files list them.
struct NamedWindow {
    const char* taskKey; // "hotWater", "heating", "ventilation", "additionalResults"
    const char* form;    // "Form3", "Form2", "Form1", "Form12"
};
inline constexpr NamedWindow namedWindows[] = {
    {"hotWater", "Form3"}, {"heating", "Form2"}, {"ventilation", "Form1"}, {"additionalResults", "Form12"}};

// The control values ({"Text2": "110", "Combo4": 1, …}) a named window object sets, in its order;
// throws TaskError naming the key path of a wrong or unknown key.
nlohmann::ordered_json controlValuesOfNamedWindow(const NamedWindow& window,
                                                  const nlohmann::ordered_json& named,
                                                  const std::string& decimalSeparator);

// How texts become numbers when a window is written by its names.
enum class TextsAs {
    ExactNumbers, // a number only when writing it gives the text back exactly
    Numbers,      // a number wherever the text is one ("0,2" under "." too)
};

// The named window object of control values (as a task or the windows set them), in the table's
// order. Controls it cannot name (no task key, custom-medium properties of a water side, given
// flags that are not one of the three given quantities) go to `unnamed`, in their order.
nlohmann::ordered_json namedWindowOfControlValues(const NamedWindow& window,
                                                  const nlohmann::ordered_json& controls,
                                                  const std::string& decimalSeparator, TextsAs texts,
                                                  nlohmann::ordered_json& unnamed);

} // namespace kalvar
