#include "additional_results.h"

namespace kalvar {

namespace {

// The pipe-list entry a nozzle size asks for, or -1 when the size names none.
int pipeListIndexOf(const std::string& nozzle) {
    if (nozzle == "50 мм") return 4;
    if (nozzle == "1 дюйм") return 1;
    if (nozzle == "80 мм") return 6;
    return -1;
}

void showViews(AdditionalResultsWindow& r, bool geometric) {
    r.geometricView = geometric;
    r.Command1.bold = geometric;
    r.Command2.bold = !geometric;
    r.backColor = geometric ? colours::lightCyan : colours::lightYellow;
    for (Control* c :
         {&r.Frame1, &r.Combo5, &r.Combo6,    &r.Text45,    &r.Text46, &r.Frame2, &r.Text10, &r.Label35,
          &r.Text9,  &r.Text8,  &r.Text43,    &r.Text44,    &r.Text50, &r.Text56, &r.Text52, &r.Text1,
          &r.Text3,  &r.Text2,  &r.Label72_0, &r.Label72_1, &r.Text58, &r.Label5, &r.Image1})
        c->visible = geometric;
    for (Control* c : {&r.Text11, &r.Text12, &r.Text13, &r.Text14, &r.Text15, &r.Text16, &r.Text17, &r.Text18,
                       &r.Text19, &r.Text20, &r.Text21, &r.Text22, &r.Text23, &r.Text24})
        c->visible = !geometric;
    // The equivalent diameter row is never shown.
    r.Text42.visible = false;
}

} // namespace

void selectGeometricView(AdditionalResultsWindow& form12) {
    showViews(form12, true);
}

void selectThermophysicalView(AdditionalResultsWindow& form12) {
    showViews(form12, false);
}

void fillAdditionalResults(Session& session, CalcWindow& window) {
    AdditionalResultsWindow& r = session.windows.Form12;
    r.ensureLoaded();
    CalcWindow& f = window;
    for (auto [from, to] : {std::pair{&f.Text50, &r.Text50},
                            {&f.Text52, &r.Text52},
                            {&f.Text56, &r.Text56},
                            {&f.Text42, &r.Text42},
                            {&f.Text43, &r.Text43},
                            {&f.Text44, &r.Text44},
                            {&f.Text58, &r.Text58}})
        to->text = from->text;

    // The pipe lists compute their velocities from the flows of `currentWindow`: it must be the window
    // being shown, or they would show another exchanger's flow in these pipes.
    session.state.currentWindow = &window;
    const int pipe = pipeListIndexOf(f.Text58.text);
    if (pipe >= 0) {
        r.Combo6.setListIndex(pipe);
        r.Combo5.setListIndex(pipe);
    }

    // clang-format off
    const std::pair<Control*, Control*> copies[] = {
        {&f.Text45, &r.Text1}, {&f.Text48, &r.Text3}, {&f.Text51, &r.Text2},
        {&f.Text11, &r.Text11}, {&f.Text12, &r.Text12}, {&f.Text13, &r.Text13}, {&f.Text14, &r.Text14},
        {&f.Text15, &r.Text15},
        {&f.Text40, &r.Text16},
        {&f.Text17, &r.Text17}, {&f.Text18, &r.Text18}, {&f.Text19, &r.Text19}, {&f.Text20, &r.Text20},
        {&f.Text21, &r.Text21}, {&f.Text22, &r.Text22},
        {&f.Text41, &r.Text23},
        {&f.Text24, &r.Text24}, {&f.Text8, &r.Text8}, {&f.Text9, &r.Text9},
    };
    // clang-format on
    for (auto [from, to] : copies)
        to->text = from->text;
    r.Image1.text = f.Image1.text;
    r.Label5.text = f.Label5.text;
    selectGeometricView(r);
}

void refreshTickedAdditionalResults(Session& session) {
    for (CalcWindow* f : {&session.windows.Form1, &session.windows.Form2, &session.windows.Form3})
        if (f->Check1.value == 1) fillAdditionalResults(session, *f);
}

} // namespace kalvar
