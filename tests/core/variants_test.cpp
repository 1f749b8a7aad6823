// Variants in the core: the session they are taken from stays as it was, the layouts follow the
// window's "Расчет" (two passes in a two-stage exchanger's first section, the plate count of a rating),
// and a variant that breaks a limit says which.
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "messages.h"
#include "scripted_ui.h"
#include "variants.h"

using namespace kalvar;
using kalvar::testing::Started;

namespace {

// Everything of the windows a calculation or a list handler could change, as text.
std::string snapshot(Session& session) {
    std::string out;
    WindowSet& w = session.windows;
    for (CalcWindow* f : {&w.ventilation, &w.heating, &w.hotWater})
        for (auto& [key, c] : f->controls())
            out += f->name + "." + key + "=" + c->text + "|" + std::to_string(c->listIndex) + "|" +
                   std::to_string(c->value) + "|" + std::to_string(c->visible) + "\n";
    for (auto& [key, c] : w.additionalResults.controls())
        out += "Form12." + key + "=" + c->text + "|" + std::to_string(c->listIndex) + "\n";
    out += "loaded=" + std::to_string(w.additionalResults.loaded());
    const CalcState& s = session.state;
    out += " current=" + (s.currentWindow ? s.currentWindow->name : std::string("none"));
    out += " plates=" + std::to_string(s.platesPerPass) + " q=" + std::to_string(s.q);
    return out;
}

} // namespace

TEST(Variants, LeaveTheSessionAsItWasBeforeAndAfterItsOwnCalculation) {
    Started app(8);
    app.windows().heating.heatLoad.text = "0.7";
    app.windows().ventilation.heatedMediumList.setListIndex(1);
    for (Control* box :
         {&app.windows().ventilation.heatedHeatCapacity, &app.windows().ventilation.heatedDensity})
        box->text = "1000";
    app.windows().ventilation.heatedViscosity.text = "2";
    app.windows().ventilation.heatedConductivity.text = "0.5";
    for (bool calculatedFirst : {false, true}) {
        SCOPED_TRACE(calculatedFirst ? "after its Расчет" : "before its Расчет");
        if (calculatedFirst) app.calc.calculateCommand();
        const std::string before = snapshot(app.session);
        const auto tables = sessionVariants(app.session);
        EXPECT_EQ(snapshot(app.session), before);
        ASSERT_EQ(tables.size(), 3u);
        for (const WindowVariants& t : tables)
            EXPECT_EQ(std::count_if(t.variants.begin(), t.variants.end(),
                                    [](const Variant& v) { return v.chosen; }),
                      1);
    }
}

TEST(Variants, FollowTheLayoutsTheWindowsCalculationOffers) {
    Started twoStage(5);
    for (const Variant& v : windowVariants(twoStage.session, WindowId::HotWater)) {
        EXPECT_EQ(v.passes, 2);
        ASSERT_TRUE(v.results.secondStage.has_value());
    }
    const auto heating = windowVariants(twoStage.session, WindowId::Heating);
    std::set<std::tuple<int, int, int>> layouts;
    for (const Variant& v : heating)
        layouts.insert({v.series, v.passes, v.units});
    EXPECT_EQ(layouts.size(), heating.size());
    EXPECT_GT(layouts.size(), 48u); // most of the 96 layouts size this window
    EXPECT_TRUE(windowVariants(twoStage.session, WindowId::Ventilation).empty()); // not in this system

    // A rating rates every layout with the window's plate count; 200 plates in one pass are more
    // than the first series' frame takes.
    Started rating(2);
    CalcWindow& f = rating.windows().heating;
    f.plateCountIsGiven.value = 1;
    f.plateCount.text = "200";
    f.plateTypeList.setListIndex(1);
    f.passCountList.setListIndex(0);
    const auto rated = windowVariants(rating.session, WindowId::Heating);
    ASSERT_FALSE(rated.empty());
    for (const Variant& v : rated) {
        EXPECT_FALSE(v.results.margin.has_value());
        EXPECT_NEAR(v.results.plateCount, 200, 2 * v.passes);
        if (v.series == 1 && v.passes == 1) {
            EXPECT_EQ(v.limit.find(messages::plateLimitLabel), 0u);
        }
        EXPECT_EQ(v.chosen, v.series == 2 && v.passes == 1 && v.units == 1);
    }
}

TEST(Variants, ALayoutThatBreaksALimitIsSizedAndSaysWhich) {
    Started app(2);
    app.windows().heating.heatLoad.text = "2.5";
    const auto variants = windowVariants(app.session, WindowId::Heating);
    const auto small = std::find_if(variants.begin(), variants.end(), [](const Variant& v) {
        return v.series == 1 && v.passes == 1 && v.units == 1;
    });
    ASSERT_NE(small, variants.end());
    EXPECT_NE(small->limit.find(messages::plateLimitLabel), std::string::npos);
    EXPECT_NE(small->limit.find(messages::nozzleLimitLabel), std::string::npos);
    EXPECT_GT(small->results.plateCount, 69);
    EXPECT_TRUE(
        std::any_of(variants.begin(), variants.end(), [](const Variant& v) { return v.withinLimits(); }));
}
