// The calculate command: a rating of the window that asks for a given plate count, or a sizing of
// every exchanger of the current system, the two-stage hot-water schemes included; and the pass
// drawing and connection legend of a window.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "calculator.h"
#include "correlations.h"
#include "messages.h"
#include "number_text.h"
#include "system_kinds.h"

namespace kalvar {

int16_t& Calculator::savedType(const CalcWindow& window) {
    switch (window.id) {
    case WindowId::Ventilation:
        return s.ventLastType;
    case WindowId::HotWater:
        return s.hotWaterLastType;
    default:
        return s.heatingLastType;
    }
}

void Calculator::noteCalculated(const CalcWindow& window) {
    resultsOf(window.id).reset();
    if (std::find(calculated_.begin(), calculated_.end(), window.id) == calculated_.end())
        calculated_.push_back(window.id);
}

void Calculator::calculateCommand() {
    calculated_.clear();
    for (auto& results : results_)
        results.reset();
    s.passCount = static_cast<int16_t>(form().passCountList.listIndex + 1);
    // The last window that asks for a rating wins.
    if (w.hotWater.plateCountIsGiven.value == 1) s.currentWindow = &w.hotWater;
    if (w.heating.plateCountIsGiven.value == 1) s.currentWindow = &w.heating;
    if (w.ventilation.plateCountIsGiven.value == 1) s.currentWindow = &w.ventilation;

    if (form().plateCountIsGiven.value == 1) {
        rateCommand();
        return;
    }
    const SystemDescription* system = findSystem(s.systemKind);
    if (system == nullptr) return;
    // The return water of the windows sized so far, for a two-stage hot-water exchanger after them.
    float returnWater = 0;
    bool othersSized = true;
    for (const WindowId id : system->sizingOrder) {
        CalcWindow& window = w.calcWindow(id);
        if (system->twoStageHotWater && window.hasSecondStage()) {
            // Its return-water section is sized from the other circuits' flows: without them, it
            // is not sized at all.
            if (othersSized) {
                twoStageReturnWater_ = returnWater;
                sizeTwoStageHotWater(returnWater);
            }
            continue;
        }
        othersSized = sizeWindow(window) && othersSized;
        returnWater = returnWater + s.v1;
    }
}

bool Calculator::calculateWindow(WindowId id, float returnWater) {
    calculated_.clear();
    CalcWindow& window = w.calcWindow(id);
    s.currentWindow = &window;
    s.passCount = static_cast<int16_t>(window.passCountList.listIndex + 1);
    if (window.plateCountIsGiven.value == 1) return rateCommand() && results(id) != nullptr;
    const SystemDescription* system = findSystem(s.systemKind);
    if (system != nullptr && system->twoStageHotWater && window.hasSecondStage()) {
        sizeTwoStageHotWater(returnWater);
        return results(id) != nullptr;
    }
    return sizeWindow(window) && results(id) != nullptr;
}

bool Calculator::rateCommand() {
    CalcWindow& f = form();
    noteCalculated(f);
    if (f.plateCount.text.empty()) {
        stopWithMessage(messages::noPlateCount, MessageSubject{f.id, "Text38"});
        return false;
    }
    // The passes of the window being rated divide its plate count.
    s.passCount = static_cast<int16_t>(f.passCountList.listIndex + 1);
    if (s.passCount == autoPasses || s.passCount < 1) {
        stopWithMessage(messages::ratingNeedsPasses);
        return false;
    }
    const double channels = std::nearbyint(readNumber(f.plateCount.text) / s.passCount / 2); // halves to even
    if (!(channels >= 2)) {
        stopWithMessage(messages::tooFewPlates);
        return false;
    }
    if (2 * channels * s.passCount > maxTotalPlates) {
        stopWithMessage(messages::tooManyPlates);
        return false;
    }
    s.channelsPerPass = static_cast<int16_t>(channels);
    s.platesPerPass = static_cast<int16_t>(2 * s.channelsPerPass);
    readInputs();
    if (f.plateTypeList.listIndex == autoPlateEntry) s.plateTypeIndex = savedType(f);
    refreshPassDrawing();
    f.plateTypeList.setListIndex(s.plateTypeIndex);
    return sizeExchanger();
}

bool Calculator::sizeWindow(CalcWindow& window) {
    s.currentWindow = &window;
    noteCalculated(window);
    readInputs();
    const bool sized = sizeExchanger();
    // A window whose sizing stopped with a message keeps the type it had.
    if (sized) savedType(window) = s.plateTypeIndex;
    refreshPassDrawing();
    return sized;
}

void Calculator::sizeTwoStageHotWater(float returnWater) {
    CalcWindow& hw = w.hotWater;
    hw.passCountList.setListIndex(1);
    s.currentWindow = &hw;
    noteCalculated(hw);
    readInputs();
    double sectionLossLimit = readNumber(hw.secondStageLossLimit.text);
    if (sectionLossLimit == 0) {
        hw.secondStageLossLimit.text = "7";
        sectionLossLimit = 7;
    }

    // The first section's results stand only once the second section is sized too.
    struct ForgetUnlessSized {
        std::optional<WindowResults>& results;
        bool sized = false;
        ~ForgetUnlessSized() {
            if (!sized) results.reset();
        }
    } forget{resultsOf(hw.id)};
    int firstSection = 0; // channels per pass of the section heated by the supply water
    for (;;) {
        if (!sizeExchanger()) return;
        firstSection = s.channelsPerPass;
        s.v1 = returnWater;

        // Return-water section: one pass, as many channels as its loss limit asks for.
        bool seriesChanged = false;
        s.channelsPerPass = static_cast<int16_t>(firstSection);
        try {
            for (;;) {
                s.platesPerPass = static_cast<int16_t>(2 * s.channelsPerPass);
                if (s.ignoreLimits == 0 && exceedsPlateLimit(s.plateTypeIndex, s.platesPerPass)) {
                    handleLimit();
                    if (s.ignoreLimits == 0) {
                        seriesChanged = true;
                        break;
                    }
                }
                if (2 * firstSection + 2 * s.channelsPerPass > maxTotalPlates)
                    throw SizingStopped(messages::searchUnbounded);
                const size_t t = static_cast<size_t>(s.plateTypeIndex);
                const int m = s.channelsPerPass;
                s.heatingVelocity = static_cast<float>(returnWater / ((m - 1) * s.catalogue.channelArea[t]) /
                                                       s.exchangerCount);
                s.passCount = 1;
                const float keptAlpha = s.heatingAlpha;
                correlateHeatingSide(s, s.heatingViscosity, s.heatingPrandtl, s.heatingConductivity);
                s.heatingAlpha = keptAlpha;
                s.passCount = 2;
                s.heatingLoss = pressureLoss(s, s.heatingLossNumber, 1);
                if (s.heatingLoss < sectionLossLimit) break;
                ++s.channelsPerPass;
            }
        } catch (const SizingStopped& stop) {
            s.ignoreLimits = 0;
            stopWithMessage(stop.what());
            return;
        }
        if (!seriesChanged) break;
        if (!hasCatalogueData(s.plateTypeIndex)) {
            stopWithMessage(messages::noCatalogueData);
            return;
        }
    }

    s.hotWaterLastType = s.plateTypeIndex;
    s.ignoreLimits = 0;
    const int secondSection = s.channelsPerPass;
    s.platesPerPass = static_cast<int16_t>(2 * secondSection);
    writeDesignation(2 * firstSection);
    const int totalPlates = 2 * firstSection + 2 * secondSection;
    s.platesPerPass = static_cast<int16_t>(totalPlates);
    hw.plateCount.text = std::to_string(totalPlates);
    hw.surfaceArea.text =
        format((totalPlates - 2) * s.catalogue.plateArea[static_cast<size_t>(s.plateTypeIndex)], 2);
    const WeightAndDimensions sizes = writeWeightAndDimensions(s.plateTypeIndex, totalPlates, 2, true);
    refreshPassDrawing();
    const int bore = selectedPipeBore(hw.interstagePipeList);
    if (bore > 0) hw.interstagePipeVelocity.text = format(pipeVelocity(returnWater, bore), 2);
    captureTwoStage(firstSection, secondSection, returnWater, sectionLossLimit, sizes);
    forget.sized = true;
}

int shownPassCount(const CalcWindow& form) {
    int z = form.passCountList.listIndex + 1;
    if (z == 4) {
        const double shown = readNumber(form.searchedPassCount.text);
        z = std::isfinite(shown) && shown >= 1 && shown < 4 ? static_cast<int>(shown) : 0;
    }
    return z >= 1 && z <= 3 ? z : 0;
}

void Calculator::refreshPassDrawing() {
    CalcWindow& f = form();
    const int z = shownPassCount(f);
    if (z == 0) return;
    const std::string picture = "KM " + std::to_string(z) + "x.jpg";
    std::string legend = "1.Вход греющей среды.\r2.Выход греющей среды.\r3.Выход нагреваемой среды.\r4.Вход "
                         "нагреваемой среды.";
    if (z == 2) {
        if (f.hasSecondStage() && f.secondStageLossLimit.visible)
            legend += "\r5. Обратка отопления.(Слив и очистка).\r6. Циркуляция ГВС.(Слив и очистка).";
        else
            legend += "\r5. Слив и очистка.\r6. Слив и очистка.(Циркуляция ГВС).";
    } else if (z == 3) {
        legend += "\r5. Обратка отопления.(Слив и очистка).\r6. Циркуляция ГВС.(Слив и очистка).\r7, 8. "
                  "Развоздушивание.";
    }
    f.connectionLegend.text = legend;
    // The working directory's picture folder first, then the installed one.
    for (const std::string& folder : {s.workDir, s.dataDir}) {
        if (folder.empty()) continue;
        std::error_code error;
        const std::filesystem::path file = std::filesystem::path(folder) / "picture" / picture;
        if (std::filesystem::is_regular_file(file, error)) {
            f.exchangerDrawing.text = file.string();
            return;
        }
    }
}

} // namespace kalvar
