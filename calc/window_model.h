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

// The controls of each window, one table per window kind, in design order:
// X(member, key, kind, taskKey, meaning). The key is the control's name in the control-id task
// files, the desktop's object names and the listings ("Label22(2)" for element 2 of a control
// array); the member is the C++ name of the same control; the task key is the input's path in its
// window's object of the named task files ("heatingSide.inletTemperature"), empty for what is not
// an input ("given=heatLoad": the check is set when "given" names that quantity). This is the only
// place where the names stand side by side.

// The controls of a calculation window (hot water Form3, heating Form2, ventilation Form1).
// clang-format off
#define KALVAR_CALC_WINDOW_CONTROLS(X) \
    X(titleLabel,                      "Label7",     Label,   "",                                  "the window's title: \"ОТОПЛЕНИЕ\", \"ГВС\", \"ВЕНТИЛЯЦИЯ\"") \
    X(designationBox,                  "Text1",      TextBox, "",                                  "designation of the selected exchanger, written by the calculation") \
    X(layoutSummaryLabel,              "label54",    Label,   "",                                  "summary of the layout (type and passes) in the designation's place") \
    X(heatLoad,                        "Text30",     TextBox, "heatLoad",                          "heat load Q: given, or computed when the heated flow is given") \
    X(heatLoadLabel,                   "Label60",    Label,   "",                                  "caption \"Q=\" of the heat load") \
    X(heatLoadUnitLabel,               "Label57",    Label,   "",                                  "unit of the heat load: \"Гкал/ч\" or \"кВт\"") \
    X(plateCount,                      "Text38",     TextBox, "plateCount",                        "total plate count n: given when rating, else computed") \
    X(plateCountLabel,                 "Label80",    Label,   "",                                  "caption \"n =\" of the plate count") \
    X(heatingMediumList,               "Combo4",     List,    "heatingSide.medium",                "heating medium kind: \"вода\" or \"другое\"") \
    X(heatingMediumLabel,              "Label18",    Label,   "",                                  "caption \"греющий поток\" of the heating medium list") \
    X(heatedMediumList,                "Combo7",     List,    "heatedSide.medium",                 "heated medium kind: \"вода\" or \"другое\"") \
    X(heatedMediumLabel,               "Label19",    Label,   "",                                  "caption \"нагреваемый поток\" of the heated medium list") \
    X(showAdditionalResults,           "Check1",     Check,   "showAdditionalResults",             "shows the additional-results window") \
    X(foulingResistance,               "Text25",     TextBox, "fouling",                           "fouling resistance, (m2*K)/W") \
    X(foulingLabel,                    "Label22(2)", Label,   "",                                  "caption \"загрязнение\" of the fouling resistance") \
    X(minSurfaceMargin,                "Text53",     TextBox, "minSurfaceMargin",                  "minimum surface margin the sizing keeps, %") \
    X(minSurfaceMarginLabel,           "Label22(3)", Label,   "",                                  "caption \"мин. запас\" of the minimum surface margin") \
    X(flowTableFrame,                  "Frame5",     Frame,   "",                                  "table of flows, temperatures, velocities and losses of both media") \
    X(exchangerResultsFrame,           "Frame3",     Frame,   "",                                  "group of the exchanger's results") \
    X(exchangerResultsCaption,         "Label4",     Label,   "",                                  "second half \"теплообменника\" of the results group's caption") \
    X(heatingFlow,                     "Text31",     TextBox, "",                                  "heating medium flow G1, computed") \
    X(optimalHeatingFlow,              "Text47",     TextBox, "",                                  "heating flow that transfers exactly the heat load") \
    X(heatedFlow,                      "Text33",     TextBox, "heatedFlow",                        "heated medium flow G2: computed, or given instead of the heat load") \
    X(flowUnitLabel,                   "Label59",    Label,   "",                                  "unit of the flows: \"м  /ч\" or \"л/с\"") \
    X(flowUnitSuperscript,             "Label21",    Label,   "",                                  "superscript \"3\" of the flow unit") \
    X(heatingInletTemperature,         "Text2",      TextBox, "heatingSide.inletTemperature",      "heating medium inlet temperature t1', °C") \
    X(heatedInletTemperature,          "Text3",      TextBox, "heatedSide.inletTemperature",       "heated medium inlet temperature t2', °C") \
    X(heatingOutletTemperature,        "Text4",      TextBox, "heatingSide.outletTemperature",     "heating medium outlet temperature t1'', °C") \
    X(optimalHeatingOutletTemperature, "Text32",     TextBox, "",                                  "heating outlet temperature at the optimal heating flow, °C") \
    X(heatedOutletTemperature,         "Text5",      TextBox, "heatedSide.outletTemperature",      "heated medium outlet temperature t2'', °C") \
    X(heatingVelocity,                 "Text34",     TextBox, "",                                  "heating medium velocity in the channels, m/s") \
    X(optimalHeatingVelocity,          "Text49",     TextBox, "",                                  "heating medium velocity at the optimal heating flow, m/s") \
    X(heatedVelocity,                  "Text35",     TextBox, "",                                  "heated medium velocity in the channels, m/s") \
    X(heatingLossLimit,                "Text6",      TextBox, "heatingSide.lossLimit",             "allowed pressure loss of the heating medium") \
    X(heatedLossLimit,                 "Text7",      TextBox, "heatedSide.lossLimit",              "allowed pressure loss of the heated medium") \
    X(lossLimitUnitLabel,              "Label34(0)", Label,   "",                                  "unit of the allowed losses: \"кПа\" or \"атм\"") \
    X(lossUnitLabel,                   "Label34(1)", Label,   "",                                  "unit of the pressure losses: \"кПа\" or \"атм\"") \
    X(heatingLoss,                     "Text36",     TextBox, "",                                  "pressure loss of the heating medium, computed") \
    X(heatedLoss,                      "Text37",     TextBox, "",                                  "pressure loss of the heated medium, computed") \
    X(heatingPumpPower,                "Text54",     TextBox, "",                                  "pump power of the heating medium, W") \
    X(heatedPumpPower,                 "Text55",     TextBox, "",                                  "pump power of the heated medium, W") \
    X(heatTransferCoefficient,         "Text26",     TextBox, "",                                  "overall heat-transfer coefficient k, W/(m2*K)") \
    X(surfaceArea,                     "Text27",     TextBox, "",                                  "heat-transfer surface shown, m2") \
    X(surfaceMargin,                   "Text28",     TextBox, "",                                  "surface margin, %") \
    X(weight,                          "Text29",     TextBox, "",                                  "weight of the exchanger, kg") \
    X(plateTypeList,                   "Combo1",     List,    "series",                            "plate series, or \"Автовыбор\" (hidden)") \
    X(passCountList,                   "Combo2",     List,    "passes",                            "passes, or \"автовыбор\" (hidden)") \
    X(exchangerCountList,              "Combo3",     List,    "unitsInParallel",                   "exchangers in parallel, \"x1\"..\"x9\" (hidden)") \
    X(heatLoadIsGiven,                 "Check3",     Check,   "given=heatLoad",                    "the heat load is given, the heated flow computed (hidden)") \
    X(heatedFlowIsGiven,               "Check2",     Check,   "given=heatedFlow",                  "the heated flow is given, the heat load computed (hidden)") \
    X(plateCountIsGiven,               "Check5",     Check,   "given=plateCount",                  "the plate count is given: the exchanger is rated (hidden)") \
    X(heatingHeatCapacity,             "Text11",     TextBox, "heatingSide.medium.heatCapacity",   "heating medium heat capacity, J/(kg*K) (hidden)") \
    X(heatingDensity,                  "Text12",     TextBox, "heatingSide.medium.density",        "heating medium density, kg/m3 (hidden)") \
    X(heatingViscosity,                "Text13",     TextBox, "heatingSide.medium.viscosity",      "heating medium dynamic viscosity, mPa*s (hidden)") \
    X(heatingConductivity,             "Text14",     TextBox, "heatingSide.medium.conductivity",   "heating medium thermal conductivity, W/(m*K) (hidden)") \
    X(heatingReynolds,                 "Text15",     TextBox, "",                                  "heating side Reynolds number (hidden)") \
    X(heatingPrandtl,                  "Text16",     TextBox, "",                                  "heating side Prandtl number (hidden)") \
    X(heatingNusselt,                  "Text17",     TextBox, "",                                  "heating side Nusselt number (hidden)") \
    X(heatedHeatCapacity,              "Text18",     TextBox, "heatedSide.medium.heatCapacity",    "heated medium heat capacity, J/(kg*K) (hidden)") \
    X(heatedDensity,                   "Text19",     TextBox, "heatedSide.medium.density",         "heated medium density, kg/m3 (hidden)") \
    X(heatedViscosity,                 "Text20",     TextBox, "heatedSide.medium.viscosity",       "heated medium dynamic viscosity, mPa*s (hidden)") \
    X(heatedConductivity,              "Text21",     TextBox, "heatedSide.medium.conductivity",    "heated medium thermal conductivity, W/(m*K) (hidden)") \
    X(heatedReynolds,                  "Text22",     TextBox, "",                                  "heated side Reynolds number (hidden)") \
    X(heatedPrandtl,                   "Text23",     TextBox, "",                                  "heated side Prandtl number (hidden)") \
    X(heatedNusselt,                   "Text24",     TextBox, "",                                  "heated side Nusselt number (hidden)") \
    X(heatingFilmCoefficient,          "Text40",     TextBox, "",                                  "heating side heat-transfer coefficient alpha1 (hidden)") \
    X(heatedFilmCoefficient,           "Text41",     TextBox, "",                                  "heated side heat-transfer coefficient alpha2 (hidden)") \
    X(equivalentDiameter,              "Text42",     TextBox, "",                                  "equivalent diameter of a channel, mm (hidden)") \
    X(channelArea,                     "Text43",     TextBox, "",                                  "cross-section of one channel, m2 (hidden)") \
    X(plateArea,                       "Text44",     TextBox, "",                                  "heat-transfer surface of one plate, m2 (hidden)") \
    X(dimensionC,                      "Text45",     TextBox, "",                                  "overall dimension C, mm (hidden)") \
    X(dimensionD,                      "Text46",     TextBox, "",                                  "overall dimension D, mm (hidden)") \
    X(dimensionE,                      "Text48",     TextBox, "",                                  "overall dimension E, mm (hidden)") \
    X(dimensionA,                      "Text50",     TextBox, "",                                  "overall dimension A, mm (hidden)") \
    X(dimensionF,                      "Text51",     TextBox, "",                                  "overall dimension F, mm (hidden)") \
    X(dimensionB,                      "Text52",     TextBox, "",                                  "overall dimension B, mm (hidden)") \
    X(lengthL,                         "Text56",     TextBox, "",                                  "overall length L, mm (hidden)") \
    X(largeSeriesWeight,               "Text57",     TextBox, "",                                  "weight again, written for the largest series only (hidden)") \
    X(nozzleSize,                      "Text58",     TextBox, "",                                  "nozzle (flange) size: \"1 дюйм\", \"50 мм\", \"80 мм\" (hidden)") \
    X(exchangerDrawing,                "Image1",     Picture, "",                                  "drawing of the exchanger (hidden)") \
    X(valveNominalDiameter,            "Text8",      TextBox, "",                                  "nominal diameter of the chosen control valve, mm (hidden)") \
    X(valveFlowCapacity,               "Text9",      TextBox, "",                                  "flow capacity Kvs of the chosen control valve, m3/h (hidden)") \
    X(searchedPassCount,               "Text59",     TextBox, "",                                  "pass count the automatic search chose (hidden)") \
    X(connectionLegend,                "Label5",     Label,   "",                                  "legend of the connections; the design caption is a slogan (hidden)")
// clang-format on

// Controls only the hot-water window has: the second stage's loss limit, the bore of the pipe
// between the stages and the velocity in it.
// clang-format off
#define KALVAR_SECOND_STAGE_CONTROLS(X) \
    X(secondStageLossLimit,   "Text10", TextBox, "secondStage.lossLimit",             "allowed pressure loss of the second stage, kPa") \
    X(interstagePipeList,     "Combo8", List,    "secondStage.interstagePipe",        "bore of the pipe between the stages, mm (hidden)") \
    X(interstagePipeVelocity, "Text67", TextBox, "",                                  "velocity in the pipe between the stages, m/s (hidden)")
// clang-format on

#define KALVAR_DECLARE_CONTROL(member, key, kind, taskKey, meaning) Control member{ControlKind::kind};

enum class WindowId { Ventilation, Heating, HotWater, AdditionalResults };

struct CalcWindow {
    explicit CalcWindow(WindowId id);

    WindowId id;
    std::string name;    // "Form1", "Form2", "Form3"
    std::string caption; // window caption: "ГВС", "Отопление", or empty for ventilation
    bool visible = false;
    uint32_t backColor = colours::white;
    KALVAR_CALC_WINDOW_CONTROLS(KALVAR_DECLARE_CONTROL)
    KALVAR_SECOND_STAGE_CONTROLS(KALVAR_DECLARE_CONTROL)

    bool hasSecondStage() const { return id == WindowId::HotWater; }
    // The control of that key, or nullptr; elements of control arrays are keyed "Label22(2)".
    Control* find(std::string_view key);
    // Every control of the window with its key, in design order.
    std::vector<std::pair<std::string, Control*>> controls();
};

// The controls of the additional-results window (Form12).
// clang-format off
#define KALVAR_ADDITIONAL_RESULTS_CONTROLS(X) \
    X(geometricViewButton,        "Command1",   Button,  "",                                  "shows the geometric view") \
    X(thermophysicalViewButton,   "Command2",   Button,  "",                                  "shows the thermophysical view") \
    X(pipesFrame,                 "Frame1",     Frame,   "",                                  "group of the pipes connected to the nozzles") \
    X(heatingPipeList,            "Combo5",     List,    "heatingPipe",                       "bore of the heating medium's pipe, mm") \
    X(heatedPipeList,             "Combo6",     List,    "heatedPipe",                        "bore of the heated medium's pipe, mm") \
    X(heatingPipeVelocity,        "Text45",     TextBox, "",                                  "velocity in the heating medium's pipe, m/s") \
    X(heatedPipeVelocity,         "Text46",     TextBox, "",                                  "velocity in the heated medium's pipe, m/s") \
    X(valveFrame,                 "Frame2",     Frame,   "",                                  "group of the control valve") \
    X(valvePressureDrop,          "Text10",     TextBox, "valvePressureDrop",                 "input: pressure drop across the control valve") \
    X(valvePressureDropUnitLabel, "Label35",    Label,   "",                                  "unit of the valve's pressure drop: \"кПа\" or \"атм\"") \
    X(valveFlowCapacity,          "Text9",      TextBox, "",                                  "flow capacity Kvs of the chosen valve, m3/h") \
    X(valveNominalDiameter,       "Text8",      TextBox, "",                                  "nominal diameter of the chosen valve, mm") \
    X(channelArea,                "Text43",     TextBox, "",                                  "cross-section of one channel, m2") \
    X(plateArea,                  "Text44",     TextBox, "",                                  "heat-transfer surface of one plate, m2") \
    X(equivalentDiameter,         "Text42",     TextBox, "",                                  "equivalent diameter of a channel, mm (never shown)") \
    X(dimensionA,                 "Text50",     TextBox, "",                                  "overall dimension A, mm") \
    X(lengthL,                    "Text56",     TextBox, "",                                  "overall length L, mm") \
    X(dimensionB,                 "Text52",     TextBox, "",                                  "overall dimension B, mm") \
    X(dimensionC,                 "Text1",      TextBox, "",                                  "overall dimension C, mm") \
    X(dimensionE,                 "Text3",      TextBox, "",                                  "overall dimension E, mm") \
    X(dimensionF,                 "Text2",      TextBox, "",                                  "overall dimension F, mm") \
    X(flangesLabel,               "Label72(0)", Label,   "",                                  "caption \"Фланцы (патрубки)\" of the nozzle size") \
    X(flangeDiameterLabel,        "Label72(1)", Label,   "",                                  "caption \" Ду=\" of the nozzle size") \
    X(nozzleSize,                 "Text58",     TextBox, "",                                  "nozzle (flange) size as text") \
    X(exchangerDrawing,           "Image1",     Picture, "",                                  "drawing of the exchanger") \
    X(connectionLegend,           "Label5",     Label,   "",                                  "numbered legend of the drawing's connections") \
    X(heatingHeatCapacity,        "Text11",     TextBox, "",                                  "heating medium heat capacity, J/(kg*K)") \
    X(heatingDensity,             "Text12",     TextBox, "",                                  "heating medium density, kg/m3") \
    X(heatingViscosity,           "Text13",     TextBox, "",                                  "heating medium dynamic viscosity, mPa*s") \
    X(heatingConductivity,        "Text14",     TextBox, "",                                  "heating medium thermal conductivity, W/(m*K)") \
    X(heatingReynolds,            "Text15",     TextBox, "",                                  "heating side Reynolds number") \
    X(heatingFilmCoefficient,     "Text16",     TextBox, "",                                  "heating side heat-transfer coefficient alpha1") \
    X(heatingNusselt,             "Text17",     TextBox, "",                                  "heating side Nusselt number") \
    X(heatedHeatCapacity,         "Text18",     TextBox, "",                                  "heated medium heat capacity, J/(kg*K)") \
    X(heatedDensity,              "Text19",     TextBox, "",                                  "heated medium density, kg/m3") \
    X(heatedViscosity,            "Text20",     TextBox, "",                                  "heated medium dynamic viscosity, mPa*s") \
    X(heatedConductivity,         "Text21",     TextBox, "",                                  "heated medium thermal conductivity, W/(m*K)") \
    X(heatedReynolds,             "Text22",     TextBox, "",                                  "heated side Reynolds number") \
    X(heatedFilmCoefficient,      "Text23",     TextBox, "",                                  "heated side heat-transfer coefficient alpha2") \
    X(heatedNusselt,              "Text24",     TextBox, "",                                  "heated side Nusselt number")
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
    KALVAR_ADDITIONAL_RESULTS_CONTROLS(KALVAR_DECLARE_CONTROL)

    Control* find(std::string_view key);
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

// An input of a window with its key in the named task files: the control's key, its task key
// (see the tables above) and its kind.
struct TaskInput {
    const char* controlKey;
    const char* taskKey;
    ControlKind kind;
};
// The inputs of a calculation window, of the hot-water window's second stage, and of the
// additional-results window, in design order.
const std::vector<TaskInput>& calcWindowTaskInputs();
const std::vector<TaskInput>& secondStageTaskInputs();
const std::vector<TaskInput>& additionalResultsTaskInputs();

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

    CalcWindow ventilation{WindowId::Ventilation};
    CalcWindow heating{WindowId::Heating};
    CalcWindow hotWater{WindowId::HotWater};
    AdditionalResultsWindow additionalResults;

    std::string mainCaption = "Пластинчатый теплообменник";
    UnitSettings units;
    std::string decimalSeparator = ".";

    CalcWindow* calcWindow(std::string_view name);
    // The calculation window of that id (the heating window for the additional results' id).
    CalcWindow& calcWindow(WindowId id);
    std::string format(double x, int decimals) const;
};

} // namespace kalvar
