// The variants of a window: its "Расчет" once with the session's own picks, for the chosen layout,
// then one sizing of the window alone per layout, each on a fresh copy of the session.
#include "variants.h"

#include <algorithm>
#include <memory>

#include "calculator.h"
#include "correlations.h"
#include "messages.h"
#include "session_copy.h"
#include "system_kinds.h"

namespace kalvar {

namespace {

// Answers the limit dialogs: from a list while the session's own "Расчет" runs, then "Продолжить",
// noting the reason of every dialog shown since the last `forget`.
class VariantUi : public CalcUi {
  public:
    explicit VariantUi(std::vector<LimitDialogAnswers> answers) : answers_(std::move(answers)) {}

    void beep() override {}
    void setBusy(bool) override {}
    void showMessage(MessageIcon, const std::string&, const std::string&) override {}
    LimitDialogAnswers askLimit(const LimitDialogRequest& request) override {
        if (std::find(reasons_.begin(), reasons_.end(), request.label) == reasons_.end())
            reasons_.push_back(request.label);
        LimitDialogAnswers answer;
        answer.proceed = true;
        if (next_ < answers_.size()) answer = answers_[next_++];
        // An answer the dialog has disabled cannot be pressed: the calculation goes on past the limit.
        if ((answer.several && !request.severalEnabled) || (answer.otherSize && !request.otherSizeEnabled))
            answer = LimitDialogAnswers{false, false, true};
        return answer;
    }

    // From now on every dialog is answered "Продолжить".
    void answerProceed() { next_ = answers_.size(); }
    void forget() { reasons_.clear(); }
    const std::vector<std::string>& reasons() const { return reasons_; }

  private:
    std::vector<LimitDialogAnswers> answers_;
    size_t next_ = 0;
    std::vector<std::string> reasons_;
};

// The limits an exchanger breaks, as the limit dialog names them. The search asks once for the
// first limit it meets and, answered "Продолжить", tests none after it, and a rating tests none: so
// the exchanger found is tested here, by the search's own two tests, besides what the dialogs said.
std::string limitsBroken(const WindowResults& r, const std::vector<std::string>& dialogReasons) {
    const auto said = [&](const char* label) {
        return std::find(dialogReasons.begin(), dialogReasons.end(), label) != dialogReasons.end();
    };
    // Plates per pass; a two-stage exchanger's two sections are tested each.
    int platesPerPass = r.passes > 0 ? r.plateCount / r.passes : 0;
    if (r.secondStage)
        platesPerPass = std::max(r.plateCount - r.secondStage->plateCount, r.secondStage->plateCount);
    std::vector<std::string> broken;
    if (said(messages::plateLimitLabel) || exceedsPlateLimit(r.series - 1, platesPerPass))
        broken.push_back(messages::plateLimitLabel);
    if (said(messages::nozzleLimitLabel) || r.heatingNozzleVelocity > nozzleVelocityLimit ||
        r.heatedNozzleVelocity > nozzleVelocityLimit)
        broken.push_back(messages::nozzleLimitLabel);
    std::string joined;
    for (const std::string& reason : broken)
        joined += (joined.empty() ? "" : "; ") + reason;
    return joined;
}

// The sessions and the calculator every sizing of one variant table runs on.
class VariantRunner {
  public:
    VariantRunner(const Session& source, std::vector<LimitDialogAnswers> answers)
        : ui_(std::move(answers)), calculator_(work_.state, work_.windows, ui_) {
        startUp(base_, source.state.workDir);
        copySession(source, base_);
        // The first "Расчет" loads Form12 anyway; loaded once here, every copy starts alike.
        base_.windows.additionalResults.ensureLoaded();
        startUp(work_, source.state.workDir);
        copySession(base_, work_);
        calculator_.calculateCommand();
        ui_.answerProceed();
        // Each variant's sizing starts the calculator afresh: what the session's own "Расчет" did is
        // kept here.
        windows_ = calculator_.calculatedWindows();
        for (WindowId id : windows_)
            if (const WindowResults* own = calculator_.results(id)) chosen_.emplace_back(id, *own);
        returnWater_ = calculator_.twoStageReturnWater();
    }

    const std::vector<WindowId>& windows() const { return windows_; }

    std::vector<Variant> variantsOf(WindowId id) {
        std::vector<Variant> variants;
        if (std::find(windows_.begin(), windows_.end(), id) == windows_.end()) return variants;
        const auto own =
            std::find_if(chosen_.begin(), chosen_.end(), [&](const auto& c) { return c.first == id; });
        const WindowResults* chosen = own == chosen_.end() ? nullptr : &own->second;

        const CalcWindow& window = base_.windows.calcWindow(id);
        const SystemDescription* system = findSystem(base_.state.systemKind);
        const bool twoStage = system != nullptr && system->twoStageHotWater && window.hasSecondStage();
        for (int series = 1; series <= variantSeriesCount; ++series)
            for (int passes = 1; passes <= variantMaxPasses; ++passes) {
                // The first section of a two-stage exchanger always has two passes.
                if (twoStage && passes != 2) continue;
                for (int units = 1; units <= variantMaxUnits; ++units) {
                    auto variant = size(id, series, passes, units);
                    if (!variant) continue;
                    variant->chosen = chosen != nullptr && chosen->series == series &&
                                      chosen->passes == passes && chosen->unitsInParallel == units;
                    variants.push_back(std::move(*variant));
                }
            }
        return variants;
    }

  private:
    std::optional<Variant> size(WindowId id, int series, int passes, int units) {
        copySession(base_, work_);
        CalcWindow& window = work_.windows.calcWindow(id);
        window.plateTypeList.setListIndex(series - 1);
        window.passCountList.setListIndex(passes - 1);
        window.exchangerCountList.setListIndex(units - 1);
        ui_.forget();
        if (!calculator_.calculateWindow(id, returnWater_)) return std::nullopt;
        const WindowResults& r = *calculator_.results(id);
        return Variant{series, passes, units, limitsBroken(r, ui_.reasons()), false, r};
    }

    Session base_; // the source as its first "Расчет" finds it
    Session work_; // where each sizing runs
    VariantUi ui_;
    Calculator calculator_;
    std::vector<WindowId> windows_; // the windows the session's "Расчет" calculates
    std::vector<std::pair<WindowId, WindowResults>> chosen_; // what it gave those it finished
    float returnWater_ = 0;
};

} // namespace

std::vector<WindowVariants> sessionVariants(const Session& session,
                                            const std::vector<LimitDialogAnswers>& limitAnswers) {
    auto runner = std::make_unique<VariantRunner>(session, limitAnswers);
    std::vector<WindowVariants> tables;
    const std::vector<WindowId> windows = runner->windows();
    for (WindowId id : windows)
        tables.push_back(WindowVariants{id, runner->variantsOf(id)});
    return tables;
}

std::vector<Variant> windowVariants(const Session& session, WindowId window,
                                    const std::vector<LimitDialogAnswers>& limitAnswers) {
    auto runner = std::make_unique<VariantRunner>(session, limitAnswers);
    return runner->variantsOf(window);
}

} // namespace kalvar
