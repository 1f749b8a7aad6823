#pragma once
// A stand-in for the main window, for the calculation windows' tests and screenshots: an MDI area
// with the three calculation windows and the additional-results window, the main panel, the hint
// line and the panel-index display, and a host that records what the windows ask of it.
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStringList>

#include <array>

#include "CalcWindowView.h"
#include "DesktopHost.h"
#include "PanelCommands.h"
#include "calc_ui.h"
#include "startup.h"

class AdditionalResultsView;

// The calculation's questions answered without dialogs: messages are recorded, the limit dialog
// always goes on past the limit.
class RecordingUi : public kalvar::CalcUi {
  public:
    void beep() override {}
    void showMessage(kalvar::MessageIcon, const std::string&, const std::string& text) override {
        messages << QString::fromStdString(text);
    }
    void setBusy(bool) override {}
    kalvar::LimitDialogAnswers askLimit(const kalvar::LimitDialogRequest&) override {
        kalvar::LimitDialogAnswers answers;
        answers.proceed = true;
        return answers;
    }
    QStringList messages;
};

class HarnessWindow : public QMainWindow, public DesktopHost {
  public:
    HarnessWindow();
    ~HarnessWindow() override;

    // DesktopHost
    void setHint(const QString& text) override { hintLine->setText(text); }
    void setPanelIndexText(const QString& text) override { panelIndexLabel->setText(text); }
    kalvar::Session& session() override { return session_; }
    void selectSystem(int kind) override;
    void switchUnit(const QString& caption) override;
    void save() override { calls << QStringLiteral("save"); }
    void print() override { calls << QStringLiteral("print"); }
    void savePdf() override { calls << QStringLiteral("savePdf"); }
    void dither(QWidget* window) override { calls << QStringLiteral("dither ") + window->objectName(); }
    void showAdditionalResults(kalvar::CalcWindow& window) override;
    void hideAdditionalResults() override;
    void showSchemeButton() override;
    bool commandsBlocked() override { return blocked; }
    void refuseCommand() override { calls << QStringLiteral("refuseCommand"); }
    void setAllDesignationsVisible() override;
    void showVariants(kalvar::CalcWindow& window) override {
        calls << QStringLiteral("showVariants ") + QString::number(static_cast<int>(window.id));
    }

    // "Расчет": the calculation, then the additional results of every ticked window.
    void calculate();
    CalcWindowView* view(kalvar::WindowId id) const;
    QMdiSubWindow* subWindow(kalvar::WindowId id) const;

    kalvar::Session session_;
    RecordingUi ui;
    QMdiArea* area = nullptr;
    ZuPanel* main = nullptr;
    PanelCommands mainCommands; // the main window's menu commands
    QLabel* hintLine = nullptr;
    QLabel* panelIndexLabel = nullptr;
    std::array<CalcWindowView*, 3> views{}; // hot water, heating, ventilation
    std::array<QMdiSubWindow*, 3> subs{};
    AdditionalResultsView* form12 = nullptr;
    QMdiSubWindow* form12Sub = nullptr;
    QStringList calls;
    bool blocked = false;
};
