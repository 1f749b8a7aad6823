#pragma once
// What a calculation window asks of the main window that hosts it. The main window implements
// this; the calculation windows never reach the main window any other way.
#include <QString>

class QWidget;

namespace kalvar {
struct Session;
struct CalcWindow;
} // namespace kalvar

class DesktopHost {
  public:
    virtual ~DesktopHost() = default;

    // The hint line `Label1`.
    virtual void setHint(const QString& text) = 0;
    // The panel-index display `Label2`.
    virtual void setPanelIndexText(const QString& text) = 0;
    // The calculation state and the window model of the whole program.
    virtual kalvar::Session& session() = 0;
    // The system handler of a kind 1..8, with its menu check marks.
    virtual void selectSystem(int kind) = 0;
    // A pick in "Размерность": the numbers, labels and check marks of the unit switch.
    virtual void switchUnit(const QString& caption) = 0;
    // "Сохранить", "Печать" and "Сохранить PDF" of the "Данные " menu.
    virtual void save() = 0;
    virtual void print() = 0;
    virtual void savePdf() = 0;
    // Paints the background of a calculation window when it is activated.
    virtual void dither(QWidget* window) = 0;
    // Places and shows the additional-results window for `window` (filled by the core), or hides it.
    virtual void showAdditionalResults(kalvar::CalcWindow& window) = 0;
    virtual void hideAdditionalResults() = 0;
    // Makes the main panel's button 6 ("Схема") visible.
    virtual void showSchemeButton() = 0;
    // True while a calculation waits for a dialog: panel commands are refused then.
    virtual bool commandsBlocked() = 0;
    // A command refused while a dialog waits: the beep, and the hint line says why.
    virtual void refuseCommand() = 0;
    // "Варианты" of a calculation window: opens (or brings up) the window of its variants.
    virtual void showVariants(kalvar::CalcWindow& window) = 0;
    // Makes the designation box `Text1` of the three calculation windows visible.
    virtual void setAllDesignationsVisible() = 0;
};
