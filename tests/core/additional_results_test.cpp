// The additional-results window as the calculation windows fill it, its two views, and the pass
// drawing found in the working or the installed picture folder.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "additional_results.h"
#include "number_text.h"
#include "scripted_ui.h"

using namespace kalvar;
using kalvar::testing::Started;

TEST(AdditionalResults, TheCopyTakesTheWindowsResultsInTheirPlaces) {
    Started app;
    CalcWindow& f = app.windows().heating;
    f.showAdditionalResults.value = 1;
    app.calc.calculateCommand();
    ASSERT_TRUE(app.ui.messages.empty());
    f.exchangerDrawing.text = "drawing.jpg";
    app.state().currentWindow = &app.windows().hotWater;
    refreshTickedAdditionalResults(app.session);

    AdditionalResultsWindow& r = app.windows().additionalResults;
    // clang-format off
    const std::pair<Control*, Control*> copied[] = {
        {&f.dimensionA, &r.dimensionA}, {&f.dimensionB, &r.dimensionB}, {&f.lengthL, &r.lengthL}, {&f.equivalentDiameter, &r.equivalentDiameter},
        {&f.channelArea, &r.channelArea}, {&f.plateArea, &r.plateArea}, {&f.nozzleSize, &r.nozzleSize},
        {&f.dimensionC, &r.dimensionC}, {&f.dimensionE, &r.dimensionE}, {&f.dimensionF, &r.dimensionF},
        {&f.heatingHeatCapacity, &r.heatingHeatCapacity}, {&f.heatingReynolds, &r.heatingReynolds}, {&f.heatingFilmCoefficient, &r.heatingFilmCoefficient}, {&f.heatingNusselt, &r.heatingNusselt},
        {&f.heatedHeatCapacity, &r.heatedHeatCapacity}, {&f.heatedReynolds, &r.heatedReynolds}, {&f.heatedFilmCoefficient, &r.heatedFilmCoefficient}, {&f.heatedNusselt, &r.heatedNusselt},
        {&f.valveNominalDiameter, &r.valveNominalDiameter}, {&f.valveFlowCapacity, &r.valveFlowCapacity}, {&f.exchangerDrawing, &r.exchangerDrawing}, {&f.connectionLegend, &r.connectionLegend},
    };
    // clang-format on
    for (auto [from, to] : copied) {
        EXPECT_FALSE(from->text.empty());
        EXPECT_EQ(to->text, from->text);
    }
    EXPECT_EQ(app.state().currentWindow, &f);
    EXPECT_TRUE(r.geometricView);
    EXPECT_FALSE(r.visible); // showing it is the desktop's part
}

TEST(AdditionalResults, PipeListsFollowTheNozzleSize) {
    struct Case {
        const char* nozzle;
        int listIndex;
    } cases[] = {{"1 дюйм", 1}, {"50 мм", 4}, {"80 мм", 6}, {"", 2}, {"50мм", 2}};
    for (const Case& c : cases) {
        Started app;
        app.windows().additionalResults.ensureLoaded();
        app.windows().additionalResults.heatingPipeList.setListIndex(2);
        app.windows().additionalResults.heatedPipeList.setListIndex(2);
        app.windows().heating.nozzleSize.text = c.nozzle;
        fillAdditionalResults(app.session, app.windows().heating);
        EXPECT_EQ(app.windows().additionalResults.heatingPipeList.listIndex, c.listIndex) << c.nozzle;
        EXPECT_EQ(app.windows().additionalResults.heatedPipeList.listIndex, c.listIndex) << c.nozzle;
    }
}

TEST(AdditionalResults, PipeVelocitiesAreThoseOfTheWindowShown) {
    Started app(parallelScheme); // heating, then hot water: the hot-water window is calculated last
    CalcWindow& heating = app.windows().heating;
    heating.showAdditionalResults.value = 1;
    app.calc.calculateCommand();
    ASSERT_TRUE(app.ui.messages.empty());
    ASSERT_EQ(app.state().currentWindow, &app.windows().hotWater);
    refreshTickedAdditionalResults(app.session);

    const AdditionalResultsWindow& r = app.windows().additionalResults;
    const int bore = selectedPipeBore(r.heatedPipeList);
    ASSERT_GT(bore, 0);
    auto velocity = [&](const CalcWindow& f) {
        return formatNumber((0.2777778f * readNumber(f.heatedFlow.text) / 3.1416) / bore / bore * 4000, 2);
    };
    ASSERT_NE(velocity(heating), velocity(app.windows().hotWater));
    EXPECT_EQ(r.heatedPipeVelocity.text, velocity(heating));
}

TEST(AdditionalResults, TickedWindowsRefreshInOrderAndUntickedOnesNot) {
    Started app(parallelThreeCircuits);
    WindowSet& w = app.windows();
    app.calc.calculateCommand();
    ASSERT_TRUE(app.ui.messages.empty());

    refreshTickedAdditionalResults(app.session); // none ticked
    EXPECT_EQ(w.additionalResults.dimensionA.text, "");

    w.ventilation.showAdditionalResults.value = 1;
    w.hotWater.showAdditionalResults.value = 1;
    refreshTickedAdditionalResults(app.session);
    EXPECT_EQ(app.state().currentWindow, &w.hotWater); // the last one fills it
    EXPECT_EQ(w.additionalResults.heatedFilmCoefficient.text, w.hotWater.heatedFilmCoefficient.text);
}

TEST(AdditionalResults, TheTwoViewsShowTheirOwnGroups) {
    Started app;
    AdditionalResultsWindow& r = app.windows().additionalResults;
    r.valvePressureDrop.text = "80";
    selectThermophysicalView(r);
    EXPECT_FALSE(r.geometricView);
    EXPECT_EQ(r.backColor, colours::lightYellow);
    EXPECT_TRUE(r.thermophysicalViewButton.bold);
    EXPECT_FALSE(r.geometricViewButton.bold);
    for (const Control* c : {&r.pipesFrame, &r.valveFrame, &r.exchangerDrawing, &r.connectionLegend,
                             &r.valvePressureDrop, &r.nozzleSize, &r.channelArea})
        EXPECT_FALSE(c->visible);
    for (const Control* c : {&r.heatingHeatCapacity, &r.heatingFilmCoefficient, &r.heatedNusselt})
        EXPECT_TRUE(c->visible);

    selectGeometricView(r);
    EXPECT_TRUE(r.geometricView);
    EXPECT_EQ(r.backColor, colours::lightCyan);
    EXPECT_TRUE(r.geometricViewButton.bold);
    EXPECT_FALSE(r.thermophysicalViewButton.bold);
    for (const Control* c : {&r.pipesFrame, &r.valveFrame, &r.exchangerDrawing, &r.connectionLegend,
                             &r.valvePressureDrop, &r.nozzleSize, &r.channelArea})
        EXPECT_TRUE(c->visible);
    for (const Control* c :
         {&r.heatingHeatCapacity, &r.heatingFilmCoefficient, &r.heatedNusselt, &r.equivalentDiameter})
        EXPECT_FALSE(c->visible);
    EXPECT_EQ(r.valvePressureDrop.text, "80");
}

namespace {

// A folder of its own under the test's temporary folder, removed at the end.
struct TempFolder {
    TempFolder() {
        std::string pattern = ::testing::TempDir() + "/kalvar-pictures.XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) path = pattern;
    }
    ~TempFolder() {
        std::error_code error;
        if (!path.empty()) std::filesystem::remove_all(path, error);
    }
    std::string withPicture(const std::string& folder, const std::string& file) const {
        const std::filesystem::path dir = std::filesystem::path(path) / folder / "picture";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / file) << "jpeg";
        return (dir / file).string();
    }
    std::string path;
};

} // namespace

TEST(PassDrawing, WorkingFolderFirstThenTheInstalledOne) {
    TempFolder temp;
    ASSERT_FALSE(temp.path.empty());
    const std::string installed = temp.withPicture("data", "KM 1x.jpg");
    temp.withPicture("data", "KM 2x.jpg");
    const std::string local = temp.withPicture("work", "KM 2x.jpg");
    struct Case {
        int passIndex;
        std::string dataDir;
        std::string expected;
    } cases[] = {
        {0, temp.path + "/data", installed}, // only installed
        {1, temp.path + "/data", local},     // both: the working folder wins
        {0, "", "kept"},                     // no installed folder
        {2, temp.path + "/data", "kept"},    // in neither
    };
    for (const Case& c : cases) {
        Started app;
        app.state().workDir = temp.path + "/work";
        app.state().dataDir = c.dataDir;
        CalcWindow& f = app.windows().heating;
        f.passCountList.listIndex = c.passIndex;
        f.exchangerDrawing.text = "kept";
        app.calc.refreshPassDrawing();
        EXPECT_EQ(f.exchangerDrawing.text, c.expected) << c.passIndex << " " << c.dataDir;
    }
}
