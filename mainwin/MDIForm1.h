#pragma once
// The main window of the desktop program: the multi-document frame that owns the calculation
// state and the window model, hosts the main button panel, the hint line and the three
// calculation windows, and runs start-up, the system handlers, the main panel's commands and
// shut-down.
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <memory>

#include "DesktopHost.h"
#include "OwnerDetails.h"
#include "startup.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
class CalcWindowView;
class DesktopCalcUi;
class AdditionalResultsView;
class MixedSchemeWindow;
class ThreeCircuitSchemeWindow;
class ExchangerPictureWindow;
class ParallelSchemeWindow;
class WebPageWindow;
class ZuPanel;
class ZuPanelButton;
namespace kalvar {
class ReportActions;
}

class MDIForm1 : public QMainWindow, public DesktopHost {
    Q_OBJECT
  public:
    struct Options {
        QString workDir;          // where the site workbooks and the picture folder are looked for
        QString dataDir;          // the installed data folder (pictures), looked in after workDir
        QString decimalSeparator; // how numbers are written; empty: the default locale's
    };

    explicit MDIForm1(const Options& options, QWidget* parent = nullptr);
    ~MDIForm1() override;

    // DesktopHost.
    void setHint(const QString& text) override;
    void setPanelIndexText(const QString& text) override;
    kalvar::Session& session() override { return *session_; }
    void selectSystem(int kind) override;
    void switchUnit(const QString& caption) override;
    void save() override;
    void print() override;
    void savePdf() override;
    void dither(QWidget* window) override;
    void showAdditionalResults(kalvar::CalcWindow& window) override;
    void hideAdditionalResults() override;
    void showSchemeButton() override;
    bool commandsBlocked() override;
    ZuPanel* mainPanel() override { return mainPanel_; }
    void setAllDesignationsVisible() override;

    // The calculation windows: Form1 ventilation, Form2 heating, Form3 hot water.
    CalcWindowView* view(kalvar::WindowId id) const;
    QMdiSubWindow* strip(kalvar::WindowId id) const;
    QMdiArea* mdiArea() const { return mdiArea_; }
    AdditionalResultsView* additionalResultsView() const { return form12_; }
    QMdiSubWindow* additionalResultsStrip() const { return form12Strip_; }
    QLabel* hintLine() const { return Label1; }
    QLabel* panelIndexLabel() const { return Label2; }
    QAction* systemAction(int kind) const;
    // The windows the commands of the main panel open (null until first used).
    QWidget* pictureWindow(const char* name) const;

    // The owner of the program as the site's owner workbook or the built-in details give it.
    const kalvar::OwnerDetails& owner() const;
    kalvar::ReportActions* reports() const { return reports_; }

    // Shows every calculation window and the additional results from their model controls.
    void refreshAll();

    // A command refused while a dialog waits: the beep, and the hint line says why.
    void refuseCommand();
    void sayRefused(); // the hint alone, where the beep has sounded already
    // The focus to the next (or previous) control of the main window's keyboard chain: the main
    // panel, then the shown MDI windows from the top down. Tab and Shift+Tab run along it.
    bool moveFocus(bool next);
    QList<QWidget*> keyboardChain() const;

    // The program's own data folder, where the pictures are looked for after workDir.
    static QString installedDataDir();
    // The whole interface is Russian: Qt's own texts (standard buttons, context menus) too,
    // whatever the user's locale. Once per application; false when Qt's translations are missing.
    static bool installRussianTranslation();

  protected:
    void closeEvent(QCloseEvent* event) override; // MDIForm_QueryUnload
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void MDIForm_Load();
    void createMenus();
    void createViews();
    void nameSeries();
    void setSystemMarks(int kind);
    void arrangeStrips();
    void placeStrip(QMdiSubWindow* window, double topTwips, double heightTwips);
    QMdiSubWindow* addStrip(QWidget* view);
    void reveal(QWidget* widget);
    // Shows the text in a label that names itself by its text, and tells assistive technology.
    static void showAnnounced(QLabel* label, const QString& text);
    // "Расчет" names its key in its tool tip.
    void showCalculateKey();

    // The main panel's events.
    void ZuPanel1_ButtonClick(int index, ZuPanelButton* button);
    void ZuPanel1_MenuSelect(int index, const QString& caption, const QString& toolTip);
    void ZuPanel1_MenuClick(int index, int indexMenu, const QString& caption, const QString& key,
                            const QString& link, const QString& toolTip);
    void ZuPanel1_ButtonEnter(int index, ZuPanelButton* button);
    void ZuPanel1_BringToFront(int index);

    // The main panel's commands.
    void calculate();
    void showScheme();
    void showWebSite();
    void showAbout();
    void askQuit();
    void mnuвыход_Click();
    void unloadWindows(bool byQuitCommand);

    // A command that waits for a dialog with events running; the program refuses other
    // commands meanwhile and quits only after it.
    class WaitScope;
    bool waitDialogOpen() const;
    static bool isWaitDialog(const QWidget* window);
    void closeWaitDialogs();

    Options options_;
    std::unique_ptr<kalvar::Session> session_;
    std::unique_ptr<DesktopCalcUi> ui_;
    kalvar::ReportActions* reports_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    ZuPanel* mainPanel_ = nullptr;
    QLabel* Label1 = nullptr; // hint line
    QLabel* Label2 = nullptr; // panel index
    QLabel* Image1 = nullptr;
    std::array<QAction*, 8> systemActions_{};
    QAction* calculateAction_ = nullptr;
    std::array<CalcWindowView*, 3> views_{}; // Form1, Form2, Form3
    std::array<QMdiSubWindow*, 3> strips_{};
    AdditionalResultsView* form12_ = nullptr;
    QMdiSubWindow* form12Strip_ = nullptr;
    QPointer<MixedSchemeWindow> form5_;
    QPointer<ThreeCircuitSchemeWindow> form6_;
    QPointer<ExchangerPictureWindow> form7_;
    QPointer<ParallelSchemeWindow> form8_;
    QPointer<WebPageWindow> form13_;
    int waitDepth_ = 0;
    bool quitPending_ = false;
    bool closing_ = false;
    QTimer* quitRetry_ = nullptr;
};
