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
    CalcWindow& f = app.windows().Form2;
    f.Check1.value = 1;
    app.calc.calculateCommand();
    ASSERT_TRUE(app.ui.messages.empty());
    f.Image1.text = "drawing.jpg";
    app.state().currentWindow = &app.windows().Form3;
    refreshTickedAdditionalResults(app.session);

    AdditionalResultsWindow& r = app.windows().Form12;
    // clang-format off
    const std::pair<Control*, Control*> copied[] = {
        {&f.Text50, &r.Text50}, {&f.Text52, &r.Text52}, {&f.Text56, &r.Text56}, {&f.Text42, &r.Text42},
        {&f.Text43, &r.Text43}, {&f.Text44, &r.Text44}, {&f.Text58, &r.Text58},
        {&f.Text45, &r.Text1}, {&f.Text48, &r.Text3}, {&f.Text51, &r.Text2},
        {&f.Text11, &r.Text11}, {&f.Text15, &r.Text15}, {&f.Text40, &r.Text16}, {&f.Text17, &r.Text17},
        {&f.Text18, &r.Text18}, {&f.Text22, &r.Text22}, {&f.Text41, &r.Text23}, {&f.Text24, &r.Text24},
        {&f.Text8, &r.Text8}, {&f.Text9, &r.Text9}, {&f.Image1, &r.Image1}, {&f.Label5, &r.Label5},
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
        app.windows().Form12.ensureLoaded();
        app.windows().Form12.Combo5.setListIndex(2);
        app.windows().Form12.Combo6.setListIndex(2);
        app.windows().Form2.Text58.text = c.nozzle;
        fillAdditionalResults(app.session, app.windows().Form2);
        EXPECT_EQ(app.windows().Form12.Combo5.listIndex, c.listIndex) << c.nozzle;
        EXPECT_EQ(app.windows().Form12.Combo6.listIndex, c.listIndex) << c.nozzle;
    }
}

TEST(AdditionalResults, PipeVelocitiesAreThoseOfTheWindowShown) {
    Started app(parallelScheme); // heating, then hot water: the hot-water window is calculated last
    CalcWindow& heating = app.windows().Form2;
    heating.Check1.value = 1;
    app.calc.calculateCommand();
    ASSERT_TRUE(app.ui.messages.empty());
    ASSERT_EQ(app.state().currentWindow, &app.windows().Form3);
    refreshTickedAdditionalResults(app.session);

    const AdditionalResultsWindow& r = app.windows().Form12;
    const int bore = selectedPipeBore(r.Combo6);
    ASSERT_GT(bore, 0);
    auto velocity = [&](const CalcWindow& f) {
        return formatNumber((0.2777778f * readNumber(f.Text33.text) / 3.1416) / bore / bore * 4000, 2);
    };
    ASSERT_NE(velocity(heating), velocity(app.windows().Form3));
    EXPECT_EQ(r.Text46.text, velocity(heating));
}

TEST(AdditionalResults, TickedWindowsRefreshInOrderAndUntickedOnesNot) {
    Started app(parallelThreeCircuits);
    WindowSet& w = app.windows();
    app.calc.calculateCommand();
    ASSERT_TRUE(app.ui.messages.empty());

    refreshTickedAdditionalResults(app.session); // none ticked
    EXPECT_EQ(w.Form12.Text50.text, "");

    w.Form1.Check1.value = 1;
    w.Form3.Check1.value = 1;
    refreshTickedAdditionalResults(app.session);
    EXPECT_EQ(app.state().currentWindow, &w.Form3); // the last one fills it
    EXPECT_EQ(w.Form12.Text23.text, w.Form3.Text41.text);
}

TEST(AdditionalResults, TheTwoViewsShowTheirOwnGroups) {
    Started app;
    AdditionalResultsWindow& r = app.windows().Form12;
    r.Text10.text = "80";
    selectThermophysicalView(r);
    EXPECT_FALSE(r.geometricView);
    EXPECT_EQ(r.backColor, colours::lightYellow);
    EXPECT_TRUE(r.Command2.bold);
    EXPECT_FALSE(r.Command1.bold);
    for (const Control* c : {&r.Frame1, &r.Frame2, &r.Image1, &r.Label5, &r.Text10, &r.Text58, &r.Text43})
        EXPECT_FALSE(c->visible);
    for (const Control* c : {&r.Text11, &r.Text16, &r.Text24})
        EXPECT_TRUE(c->visible);

    selectGeometricView(r);
    EXPECT_TRUE(r.geometricView);
    EXPECT_EQ(r.backColor, colours::lightCyan);
    EXPECT_TRUE(r.Command1.bold);
    EXPECT_FALSE(r.Command2.bold);
    for (const Control* c : {&r.Frame1, &r.Frame2, &r.Image1, &r.Label5, &r.Text10, &r.Text58, &r.Text43})
        EXPECT_TRUE(c->visible);
    for (const Control* c : {&r.Text11, &r.Text16, &r.Text24, &r.Text42})
        EXPECT_FALSE(c->visible);
    EXPECT_EQ(r.Text10.text, "80");
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
        CalcWindow& f = app.windows().Form2;
        f.Combo2.listIndex = c.passIndex;
        f.Image1.text = "kept";
        app.calc.refreshPassDrawing();
        EXPECT_EQ(f.Image1.text, c.expected) << c.passIndex << " " << c.dataDir;
    }
}
