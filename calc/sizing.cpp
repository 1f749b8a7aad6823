// Reading a window's inputs and sizing one exchanger: validation, media, heat balance, the search
// over channels, passes, series and exchanger count, and the limit handler.
#include <cmath>

#include "calculator.h"
#include "correlations.h"
#include "layout_summary.h"
#include "media.h"
#include "messages.h"
#include "number_text.h"

namespace kalvar {

namespace {

double valueOf(const Control& box) {
    return readNumber(box.text);
}

// readInputs shows what it read with a decimal comma.
void commaBack(Control& box) {
    box.text = replaceAll(box.text, ".", ",");
}

// The search gives up after this many steps in all, whatever path it takes.
constexpr long maxSearchSteps = 2'000'000;

} // namespace

void Calculator::stopWithMessage(const std::string& sentence, const std::optional<MessageSubject>& subject) {
    ui.beep();
    if (subject)
        ui.showInputMessage(*subject, MessageIcon::Information, wrongParametersTitle, "\r\n" + sentence);
    else
        ui.showMessage(MessageIcon::Information, wrongParametersTitle, "\r\n" + sentence);
}

void Calculator::readInputs() {
    CalcWindow& f = form();
    s.autoSelect = 0;
    s.passAbandoned = 0;
    s.kq1 = w.units.heatInGcalPerHour ? 1163.2235f : 1.0f;
    s.kq2 = w.units.flowInM3PerHour ? 0.2777778f : 1.0f;
    const double pressureFactor = w.units.pressureInKPa ? 1 : 100;

    s.plateTypeIndex = static_cast<int16_t>(f.plateTypeList.listIndex);
    if (s.plateTypeIndex == autoPlateEntry) {
        s.plateTypeIndex = 0;
        s.exchangerCount = 1;
        f.exchangerCountList.setListIndex(0);
        s.autoSelect = 1.0f;
    }
    s.passCount = static_cast<int16_t>(f.passCountList.listIndex + 1);
    s.exchangerCount = static_cast<int16_t>(f.exchangerCountList.listIndex + 1);

    s.heatingInletTemp = valueOf(f.heatingInletTemperature);
    s.heatedInletTemp = valueOf(f.heatedInletTemperature);
    s.heatingOutletTemp = valueOf(f.heatingOutletTemperature);
    s.heatedOutletTemp = valueOf(f.heatedOutletTemperature);
    s.foulingResistance = valueOf(f.foulingResistance);
    s.q = static_cast<float>(valueOf(f.heatLoad) * s.kq1 * 1000);
    s.v2 = static_cast<float>(valueOf(f.heatedFlow) * s.kq2 / 1000);
    s.maxLossHeating = valueOf(f.heatingLossLimit) * pressureFactor;
    s.maxLossHeated = valueOf(f.heatedLossLimit) * pressureFactor;
    w.additionalResults.ensureLoaded();
    s.maxValveLoss = valueOf(w.additionalResults.valvePressureDrop) * pressureFactor;

    for (Control* box :
         {&f.heatingInletTemperature, &f.heatedInletTemperature, &f.heatingOutletTemperature,
          &f.heatedOutletTemperature, &f.heatingLossLimit, &f.heatedLossLimit, &f.heatLoad, &f.heatedFlow})
        commaBack(*box);
}

std::optional<std::string> Calculator::invalidInputMessage() {
    CalcWindow& f = form();
    const bool rating = f.plateCountIsGiven.value == 1;
    const bool heatGiven = f.heatedFlowIsGiven.value == 0;
    for (double v : {s.heatingInletTemp, s.heatedInletTemp, s.heatingOutletTemp, s.heatedOutletTemp,
                     s.maxLossHeating, s.maxLossHeated, s.maxValveLoss, s.foulingResistance,
                     static_cast<double>(s.q), static_cast<double>(s.v2), valueOf(f.minSurfaceMargin)})
        if (!std::isfinite(v)) return messages::numberTooLarge;
    if (!hasCatalogueData(s.plateTypeIndex)) return messages::noCatalogueData;
    if (s.foulingResistance < 0) return messages::badFouling;
    // The valve is sized from the square root of the drop; zero means no valve is sized.
    if (s.maxValveLoss < 0) return messages::negativeValveLoss;
    if (rating) return std::nullopt;
    if (heatGiven && !(s.q > 0)) return messages::noHeatLoad;
    if (!heatGiven && !(s.v2 > 0)) return messages::noHeatedFlow;
    if (!(s.maxLossHeating > 0) || !(s.maxLossHeated > 0)) return messages::badLossLimits;
    return std::nullopt;
}

MediumProperties Calculator::sideMedium(Side side, float t) {
    CalcWindow& f = form();
    const bool heating = side == Side::Heating;
    if ((heating ? f.heatingMediumList : f.heatedMediumList).listIndex == 0) return waterProperties(t);
    if (heating)
        return customMediumProperties(valueOf(f.heatingHeatCapacity), valueOf(f.heatingDensity),
                                      valueOf(f.heatingViscosity), valueOf(f.heatingConductivity));
    return customMediumProperties(valueOf(f.heatedHeatCapacity), valueOf(f.heatedDensity),
                                  valueOf(f.heatedViscosity), valueOf(f.heatedConductivity));
}

// Evaluates both media at the mean temperatures of their sides.
std::optional<std::string> Calculator::evaluateMedia() {
    CalcWindow& f = form();
    const float tm1 = static_cast<float>((s.heatingInletTemp + s.heatingOutletTemp) / 2);
    const float tm2 = static_cast<float>((s.heatedInletTemp + s.heatedOutletTemp) / 2);
    const MediumProperties heating = sideMedium(Side::Heating, tm1);
    const MediumProperties heated = sideMedium(Side::Heated, tm2);
    for (auto [kind, props] :
         {std::pair{&f.heatingMediumList, &heating}, std::pair{&f.heatedMediumList, &heated}})
        if (!isPhysical(*props))
            return kind->listIndex == 0 ? messages::waterOutOfRange : messages::badCustomMedium;

    s.heatingDensity = heating.density;
    s.heatingViscosity = static_cast<float>(heating.viscosity);
    s.heatingVolHeatCapacity = heating.volHeatCapacity;
    s.heatingCp = heating.heatCapacity;
    s.heatingConductivity = static_cast<float>(heating.conductivity);
    s.heatingPrandtl = static_cast<float>(heating.prandtl);
    s.heatedDensity = heated.density;
    s.heatedViscosity = heated.viscosity;
    s.heatedVolHeatCapacity = heated.volHeatCapacity;
    s.heatedCp = heated.heatCapacity;
    s.heatedConductivity = static_cast<float>(heated.conductivity);
    s.heatedPrandtl = heated.prandtl;
    return std::nullopt;
}

std::string Calculator::heatText(double watts) const {
    return format(watts / 1000 / s.kq1, w.units.heatInGcalPerHour ? 4 : 2);
}

std::string Calculator::flowText(double flow) const {
    return format(flow * 1000 / s.kq2, 3);
}

bool Calculator::sizeExchanger() {
    CalcWindow& f = form();
    const double t1in = s.heatingInletTemp, t2in = s.heatedInletTemp;
    const double t1out = s.heatingOutletTemp, t2out = s.heatedOutletTemp;
    if (t1out <= t2in || t1in <= t2out || t1in <= t1out || t2out <= t2in) {
        stopWithMessage(messages::wrongTemperatures);
        return false;
    }
    if (t1in > 200) {
        stopWithMessage(messages::inletAbove200);
        return false;
    }
    if (auto message = invalidInputMessage()) {
        stopWithMessage(*message);
        return false;
    }
    if (auto message = evaluateMedia()) {
        stopWithMessage(*message);
        return false;
    }
    ui.setBusy(true);

    // Heat balance: the heated flow follows from the load, or the load from the heated flow.
    if (f.heatedFlowIsGiven.value == 0) {
        s.v2 = static_cast<float>(s.q / ((t2out - t2in) * s.heatedVolHeatCapacity));
        f.heatedFlow.text = flowText(s.v2);
    } else {
        s.q = static_cast<float>((t2out - t2in) * s.heatedVolHeatCapacity * s.v2);
        f.heatLoad.text = heatText(s.q);
    }
    s.v1 = static_cast<float>(s.q / ((t1in - t1out) * s.heatingVolHeatCapacity));
    s.heatingFlowDesign = s.v1;
    f.heatingFlow.text = flowText(s.v1);

    try {
        if (f.plateCountIsGiven.value == 1) {
            rateExchanger();
            writeOutputs(lastRating_);
            ui.setBusy(false);
            return true;
        }
        search();
    } catch (const SizingStopped& stop) {
        s.ignoreLimits = 0;
        ui.setBusy(false);
        stopWithMessage(stop.what());
        return false;
    }

    const size_t t = static_cast<size_t>(s.plateTypeIndex);
    const int m = s.channelsPerPass;
    s.platesPerPass = static_cast<int16_t>(2 * m);
    writeDesignation();
    s.ignoreLimits = 0;
    heatingChannelVelocity_ = s.heatingFlowDesign / ((m - 1) * s.catalogue.channelArea[t]) / s.exchangerCount;
    f.heatingVelocity.text = format(heatingChannelVelocity_, 3);
    margin_ = (s.calcHeatFlow / s.q - 1) * 100;
    f.surfaceMargin.text = format(*margin_, 2);
    ui.setBusy(false);
    writeOutputs(std::nullopt);
    return true;
}

void Calculator::search() {
    s.channelsPerPass = 3;
    if (s.passCount == autoPasses) {
        s.passScanHigh = 3;
        s.passScanLow = 1;
    } else {
        s.passScanLow = s.passScanHigh = s.passCount;
    }
    long steps = 0;
    for (;;) {
        scanPasses(steps);
        if (s.passScanHigh <= s.passScanLow) break;

        // Choose the pass count by score; the later rule wins, so ties go to fewer passes.
        const float* score = s.passScores;
        if (score[3] >= score[2] && score[3] >= score[1]) s.passCount = 3;
        if (score[2] >= score[1] && score[2] >= score[3]) s.passCount = 2;
        if (score[1] >= score[2] && score[1] >= score[3]) s.passCount = 1;
        if (score[1] == 0 && score[2] == 0 && score[3] == 0) s.passCount = autoPasses;
        form().searchedPassCount.text = std::to_string(s.passCount);

        if (s.autoSelect == 1 && s.passCount == autoPasses) {
            // No pass count fits this series: the next series, or one more exchanger.
            if (s.plateTypeIndex != s.autoMaxTypeIndex) {
                ++s.plateTypeIndex;
            } else if (s.exchangerCount + 1 >= 9) {
                s.exchangerCount = 8;
                s.plateTypeIndex = static_cast<int16_t>(s.autoMaxTypeIndex);
                showLimitDialog();
            } else {
                ++s.exchangerCount;
                form().exchangerCountList.setListIndex(s.exchangerCount - 1);
            }
            continue;
        }
        if (s.passCount == autoPasses) throw SizingStopped(messages::noLayoutFits);
        // Search the chosen pass count once more from the layout it scored with, so that every
        // field describes that layout.
        const double scoreOfChoice = s.passScores[s.passCount];
        s.channelsPerPass = static_cast<int16_t>(std::floor(100 / (s.passCount * scoreOfChoice)) - 1);
        s.passScanLow = s.passScanHigh = s.passCount;
    }
    --s.passCount;
}

void Calculator::scanPasses(long& steps) {
    s.passCount = s.passScanLow;
    while (s.passCount <= s.passScanHigh) {
        if (s.passScanLow < s.passScanHigh) s.channelsPerPass = 3;
        for (;;) {
            if (++steps > maxSearchSteps) throw SizingStopped(messages::searchUnbounded);
            ++s.channelsPerPass;
            if (2 * s.channelsPerPass * s.passCount > maxTotalPlates)
                throw SizingStopped(messages::searchUnbounded);
            searchStep();
            if (s.passAbandoned == 1) break;
            const double minMargin = valueOf(form().minSurfaceMargin);
            if (s.calcHeatFlow > s.q && s.heatingLoss < s.maxLossHeating && s.heatedLoss < s.maxLossHeated &&
                (s.calcHeatFlow / s.q - 1) * 100 > minMargin)
                break;
        }
        if (s.passAbandoned == 1) {
            s.passScores[s.passCount] = 0;
            s.passAbandoned = 0;
        } else {
            s.passScores[s.passCount] = static_cast<float>(100.0 / (s.channelsPerPass * s.passCount));
        }
        ++s.passCount;
    }
}

void Calculator::searchStep() {
    if (s.ignoreLimits == 0) {
        s.platesPerPass = static_cast<int16_t>(2 * s.channelsPerPass);
        if (exceedsPlateLimit(s.plateTypeIndex, s.platesPerPass)) {
            limitLabel_ = messages::plateLimitLabel;
            handleLimit();
        }
        if (!hasCatalogueData(s.plateTypeIndex)) throw SizingStopped(messages::noCatalogueData);
        const float d = s.catalogue.nozzleDiameter[static_cast<size_t>(s.plateTypeIndex)];
        if (nozzleVelocity(s.v1, d, s.exchangerCount) > nozzleVelocityLimit ||
            nozzleVelocity(s.v2, d, s.exchangerCount) > nozzleVelocityLimit) {
            limitLabel_ = messages::nozzleLimitLabel;
            handleLimit();
        }
    }
    if (!hasCatalogueData(s.plateTypeIndex)) throw SizingStopped(messages::noCatalogueData);
    const int m = s.channelsPerPass, n = s.exchangerCount;
    const double f_ = s.catalogue.channelArea[static_cast<size_t>(s.plateTypeIndex)];
    s.heatedVelocity = static_cast<float>(s.v2 / (m * f_) / n);
    correlateHeatedSide(s);
    s.heatingVelocity = static_cast<float>(s.v1 / ((m - 1) * f_) / n);
    correlateHeatingSide(s, s.heatingViscosity, s.heatingPrandtl, s.heatingConductivity);
    s.surfaceArea = exchangerSurface(s);
    s.heatTransferCoeff = overallCoefficient(s);
    s.lmtd = meanTemperatureDifference(s.heatingInletTemp - s.heatedOutletTemp,
                                       s.heatingOutletTemp - s.heatedInletTemp);
    s.calcHeatFlow = n * s.lmtd * s.heatTransferCoeff * s.surfaceArea;
    if (s.calcHeatFlow > s.q) optimiseHeatingFlow();
    if (!std::isfinite(s.calcHeatFlow) || !std::isfinite(s.heatingLoss) || !std::isfinite(s.heatedLoss))
        throw SizingStopped(messages::searchUnbounded);
}

void Calculator::handleLimit() {
    const bool scanningPasses = s.passScanLow < s.passScanHigh;
    if (scanningPasses) {
        s.passAbandoned = 1;
        if (s.autoSelect != 1) return;
    } else if (s.autoSelect == 1) {
        if (s.plateTypeIndex != s.autoMaxTypeIndex) {
            ++s.plateTypeIndex;
        } else {
            s.plateTypeIndex = 0;
            ++s.exchangerCount;
            if (s.exchangerCount >= 9) {
                s.exchangerCount = 8;
                s.plateTypeIndex = static_cast<int16_t>(s.autoMaxTypeIndex);
                showLimitDialog();
                return;
            }
            form().exchangerCountList.setListIndex(form().exchangerCountList.listIndex + 1);
        }
    } else {
        showLimitDialog();
        return;
    }
    s.channelsPerPass = 4;
    form().layoutSummaryLabel.text =
        layoutSummary(seriesName(s.seriesPrefix, s.plateTypeIndex), std::to_string(s.passCount));
}

void Calculator::showLimitDialog() {
    ui.setBusy(false);
    LimitDialogRequest request;
    request.caption = form().caption;
    request.label = limitLabel_;
    // Each showing ends with a fresh dialog, whose reason is the plate count until the search
    // writes another.
    limitLabel_ = messages::plateLimitLabel;
    // The next series must exist in the catalogue, or the search would walk into the empty slot.
    request.otherSizeEnabled =
        s.plateTypeIndex != s.autoMaxTypeIndex && hasCatalogueData(s.plateTypeIndex + 1);
    request.severalEnabled = s.exchangerCount != 8;
    applyLimitAnswers(ui.askLimit(request));
    ui.setBusy(true);
}

void Calculator::applyLimitAnswers(const LimitDialogAnswers& answers) {
    if (answers.several) {
        // The dialog's own button shows the layout summary without its exchanger count.
        Control& summary = form().layoutSummaryLabel;
        summary.visible = true;
        const size_t x = summary.text.find('x');
        if (x != std::string::npos) summary.text = summary.text.substr(x + 1);
        s.channelsPerPass = 4;
        ++s.exchangerCount;
    }
    if (answers.otherSize) {
        s.channelsPerPass = 4;
        ++s.plateTypeIndex;
    }
    if (answers.proceed) s.ignoreLimits = 1.0f;
}

} // namespace kalvar
