#pragma once
// The window model: every calculation window and Form12 as a set of named controls whose texts,
// list indices, check values, visibility and colours the calculation reads and writes. The
// desktop windows bind their widgets to the same controls; kalvar-cli reads and prints them.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvar {

enum class ControlKind { TextBox, Label, List, Check, Frame, Picture, Button };

// Colours are 0xRRGGBB.
namespace colours {
inline constexpr uint32_t white = 0xFFFFFF;
inline constexpr uint32_t black = 0x000000;
inline constexpr uint32_t red = 0xFF0000;
inline constexpr uint32_t result = 0xFFFF00;      // read-only results
inline constexpr uint32_t optimum = 0xFFE0C0;     // optimum row
inline constexpr uint32_t lossPink = 0xFFC0C0;    // losses, pump powers, margin
inline constexpr uint32_t resultFrame = 0x00FA64; // result frames
inline constexpr uint32_t ventilation = 0xFFC080; // ventilation window background
inline constexpr uint32_t lightCyan = 0x80FFFF;
inline constexpr uint32_t lightYellow = 0xFFFF80;
} // namespace colours

class Control {
  public:
    explicit Control(ControlKind kind) : kind(kind) {}

    ControlKind kind;
    std::string text; // text of a box; caption of a label, frame, check box or button; file of a picture
    std::vector<std::string> items;
    int listIndex = -1;
    int value = 0; // check value
    bool visible = true;
    bool enabled = true;
    bool locked = false;
    bool bold = false;
    uint32_t backColor = colours::white;
    uint32_t foreColor = colours::black;
    std::string toolTip;

    // Selects a list entry and runs the list's change handlers, as a click on the list does.
    void setListIndex(int index);
    void onListChange(std::function<void()> handler) { listHandlers_.push_back(std::move(handler)); }
    // Replaces the items and selects none, without running the handlers.
    void setItems(std::vector<std::string> newItems);

  private:
    std::vector<std::function<void()>> listHandlers_;
};

// The controls of a calculation window (hot water Form3, heating Form2, ventilation Form1).
// X(member, kind): the member name is the control name; control arrays are written Name_index.
// clang-format off
#define KALVAR_CALC_WINDOW_CONTROLS(X) \
    X(Label7, Label) \
    X(Text1, TextBox) \
    X(label54, Label) \
    X(Text30, TextBox) \
    X(Label60, Label) \
    X(Label57, Label) \
    X(Text38, TextBox) \
    X(Label80, Label) \
    X(Combo4, List) \
    X(Label18, Label) \
    X(Combo7, List) \
    X(Label19, Label) \
    X(Check1, Check) \
    X(Text25, TextBox) \
    X(Label22_2, Label) \
    X(Text53, TextBox) \
    X(Label22_3, Label) \
    X(Frame5, Frame) \
    X(Frame3, Frame) \
    X(Label4, Label) \
    X(Text31, TextBox) \
    X(Text47, TextBox) \
    X(Text33, TextBox) \
    X(Label59, Label) \
    X(Label21, Label) \
    X(Text2, TextBox) \
    X(Text3, TextBox) \
    X(Text4, TextBox) \
    X(Text32, TextBox) \
    X(Text5, TextBox) \
    X(Text34, TextBox) \
    X(Text49, TextBox) \
    X(Text35, TextBox) \
    X(Text6, TextBox) \
    X(Text7, TextBox) \
    X(Label34_0, Label) \
    X(Label34_1, Label) \
    X(Text36, TextBox) \
    X(Text37, TextBox) \
    X(Text54, TextBox) \
    X(Text55, TextBox) \
    X(Text26, TextBox) \
    X(Text27, TextBox) \
    X(Text28, TextBox) \
    X(Text29, TextBox) \
    X(Combo1, List) \
    X(Combo2, List) \
    X(Combo3, List) \
    X(Check3, Check) \
    X(Check2, Check) \
    X(Check5, Check) \
    X(Text11, TextBox) \
    X(Text12, TextBox) \
    X(Text13, TextBox) \
    X(Text14, TextBox) \
    X(Text15, TextBox) \
    X(Text16, TextBox) \
    X(Text17, TextBox) \
    X(Text18, TextBox) \
    X(Text19, TextBox) \
    X(Text20, TextBox) \
    X(Text21, TextBox) \
    X(Text22, TextBox) \
    X(Text23, TextBox) \
    X(Text24, TextBox) \
    X(Text40, TextBox) \
    X(Text41, TextBox) \
    X(Text42, TextBox) \
    X(Text43, TextBox) \
    X(Text44, TextBox) \
    X(Text45, TextBox) \
    X(Text46, TextBox) \
    X(Text48, TextBox) \
    X(Text50, TextBox) \
    X(Text51, TextBox) \
    X(Text52, TextBox) \
    X(Text56, TextBox) \
    X(Text57, TextBox) \
    X(Text58, TextBox) \
    X(Image1, Picture) \
    X(Text8, TextBox) \
    X(Text9, TextBox) \
    X(Text59, TextBox) \
    X(Label5, Label)
// clang-format on

// Controls only the hot-water window has: the second stage's loss limit, the bore of the pipe
// between the stages and the velocity in it.
#define KALVAR_SECOND_STAGE_CONTROLS(X) X(Text10, TextBox) X(Combo8, List) X(Text67, TextBox)

#define KALVAR_DECLARE_CONTROL(member, kind) Control member{ControlKind::kind};

enum class WindowId { Form1, Form2, Form3, Form12 };

struct CalcWindow {
    explicit CalcWindow(WindowId id);

    WindowId id;
    std::string name;    // "Form1", "Form2", "Form3"
    std::string caption; // window caption: "ГВС", "Отопление", or empty for ventilation
    bool visible = false;
    uint32_t backColor = colours::white;
    KALVAR_CALC_WINDOW_CONTROLS(KALVAR_DECLARE_CONTROL)
    KALVAR_SECOND_STAGE_CONTROLS(KALVAR_DECLARE_CONTROL)

    bool hasSecondStage() const { return id == WindowId::Form3; }
    // The control of that name, or nullptr; control arrays are named "Label22(2)".
    Control* find(std::string_view controlName);
    // Every control of the window with its name, in design order.
    std::vector<std::pair<std::string, Control*>> controls();
};

// clang-format off
#define KALVAR_FORM12_CONTROLS(X) \
    X(Command1, Button) \
    X(Command2, Button) \
    X(Frame1, Frame) \
    X(Combo5, List) \
    X(Combo6, List) \
    X(Text45, TextBox) \
    X(Text46, TextBox) \
    X(Frame2, Frame) \
    X(Text10, TextBox) \
    X(Label35, Label) \
    X(Text9, TextBox) \
    X(Text8, TextBox) \
    X(Text43, TextBox) \
    X(Text44, TextBox) \
    X(Text42, TextBox) \
    X(Text50, TextBox) \
    X(Text56, TextBox) \
    X(Text52, TextBox) \
    X(Text1, TextBox) \
    X(Text3, TextBox) \
    X(Text2, TextBox) \
    X(Label72_0, Label) \
    X(Label72_1, Label) \
    X(Text58, TextBox) \
    X(Image1, Picture) \
    X(Label5, Label) \
    X(Text11, TextBox) \
    X(Text12, TextBox) \
    X(Text13, TextBox) \
    X(Text14, TextBox) \
    X(Text15, TextBox) \
    X(Text16, TextBox) \
    X(Text17, TextBox) \
    X(Text18, TextBox) \
    X(Text19, TextBox) \
    X(Text20, TextBox) \
    X(Text21, TextBox) \
    X(Text22, TextBox) \
    X(Text23, TextBox) \
    X(Text24, TextBox)
// clang-format on

// The additional-results window; it also holds the control-valve pressure drop input.
struct AdditionalResultsWindow {
    AdditionalResultsWindow();

    std::string name = "Form12";
    bool visible = false;
    // Which of the two views shows: geometric (`Command1`) or thermophysical (`Command2`). The
    // desktop shows or hides the labels and headings of each view by it.
    bool geometricView = true;
    uint32_t backColor = colours::lightCyan;
    KALVAR_FORM12_CONTROLS(KALVAR_DECLARE_CONTROL)

    Control* find(std::string_view controlName);
    std::vector<std::pair<std::string, Control*>> controls();

    // The window loads the first time anything refers to it: its pipe lists are filled and
    // selected then, with the velocities of the flows the calculating window shows at that moment.
    void ensureLoaded() {
        if (loaded_) return;
        loaded_ = true;
        if (load) load();
    }
    bool loaded() const { return loaded_; }
    std::function<void()> load;

  private:
    bool loaded_ = false;
};

// Pipe bores of the pipe lists (Form12 Combo5/Combo6, Form3 Combo8), mm, by list index.
inline constexpr int pipeBoresMm[8] = {20, 25, 32, 40, 50, 65, 80, 100};
// The bore selected in a pipe list, or 0 when none is selected.
int selectedPipeBore(const Control& list);

// The three unit choices of the main panel's "Размерность" menu.
struct UnitSettings {
    bool heatInGcalPerHour = true; // "Гкал/ч", else "кВт"
    bool flowInM3PerHour = true;   // "м3/ч", else "л/с"
    bool pressureInKPa = true;     // "кПа", else "атм"
};

// All windows the calculation addresses, plus the main window's caption and unit settings.
struct WindowSet {
    WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    CalcWindow Form1{WindowId::Form1};
    CalcWindow Form2{WindowId::Form2};
    CalcWindow Form3{WindowId::Form3};
    AdditionalResultsWindow Form12;

    std::string mainCaption = "Пластинчатый теплообменник";
    UnitSettings units;
    std::string decimalSeparator = ".";

    CalcWindow* calcWindow(std::string_view name);
    // The calculation window of that id (the heating window for the additional results' id).
    CalcWindow& calcWindow(WindowId id);
    std::string format(double x, int decimals) const;
};

} // namespace kalvar
