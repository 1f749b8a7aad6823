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
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DesktopHost.h"
#include "OwnerDetails.h"
#include "PanelCommands.h"
#include "RecentTasks.h"
#include "startup.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
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
class VariantsWindow;
class ZuPanel;
class ZuPanelButton;
namespace kalvar {
class ReportActions;
}

class MainWindow : public QMainWindow, public DesktopHost {
    Q_OBJECT
  public:
    struct Options {
        QString workDir;          // where the site workbooks and the picture folder are looked for
        QString dataDir;          // the installed data folder (pictures), looked in after workDir
        QString decimalSeparator; // how numbers are written; empty: the default locale's
    };

    explicit MainWindow(const Options& options, QWidget* parent = nullptr);
    ~MainWindow() override;

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
    void refuseCommand() override;
    void setAllDesignationsVisible() override;
    void showVariants(kalvar::CalcWindow& window) override;

    // The calculation windows: Form1 ventilation, Form2 heating, Form3 hot water.
    CalcWindowView* view(kalvar::WindowId id) const;
    QMdiSubWindow* strip(kalvar::WindowId id) const;
    QMdiArea* mdiArea() const { return mdiArea_; }
    AdditionalResultsView* additionalResultsView() const { return additionalResults_; }
    QMdiSubWindow* additionalResultsStrip() const { return additionalResultsStrip_; }
    QLabel* hintLine() const { return hintLine_; }
    QLabel* panelIndexLabel() const { return panelIndexLabel_; }
    QAction* systemAction(int kind) const;
    ZuPanel* mainPanel() const { return mainPanel_; }
    // The main panel's commands by the keys of its design data.
    const PanelCommands& mainPanelCommands() const { return mainPanelCommands_; }
    // The windows the commands of the main panel open (null until first used).
    QWidget* pictureWindow(const char* name) const;
    // The variants window of a calculation window, while it is open.
    VariantsWindow* variantsWindow(kalvar::WindowId id) const;

    // The owner of the program as the site's owner workbook or the built-in details give it.
    const kalvar::OwnerDetails& owner() const;
    kalvar::ReportActions* reports() const { return reports_; }

    // Shows every calculation window and the additional results from their model controls.
    void refreshAll();

    // The focus to the next (or previous) control of the main window's keyboard chain: the main
    // panel, then the shown MDI windows from the top down. Tab and Shift+Tab run along it.
    bool moveFocus(bool next);
    QList<QWidget*> keyboardChain() const;

    // Tasks: the file the windows' inputs were opened from or saved to (empty for a new task), the
    // name the title shows, and the limit answers of the last "Расчет" that go with it.
    QString taskPath() const { return taskPath_; }
    QString taskName() const;
    const std::vector<std::string>& limitAnswers() const { return limitAnswers_; }
    QMenu* taskMenu() const { return taskMenu_; }
    QMenu* recentTasksMenu() const { return recentMenu_; }
    // "Открыть задание…", "Сохранить задание", "Сохранить задание как…" (also by their shortcuts).
    // Each returns false when it was refused, cancelled or failed (the user was told why).
    bool openTask();
    bool saveTask();
    bool saveTaskAs();
    // Opens that task file, asking first about unsaved changes: `kalvar FILE`, a recent task, a drop.
    bool openTaskFile(const QString& path);

    // Asks for a task file's name: to open (save false) or to save, starting from `suggested`; an
    // empty answer cancels. Qt's file dialogs unless replaced (tests answer here).
    struct FileQuestion {
        bool save = false;
        QString suggested;
    };
    std::function<QString(const FileQuestion&)> askFileName;

    // The program's own data folder, where the pictures are looked for after workDir.
    static QString installedDataDir();
    // The whole interface is Russian: Qt's own texts (standard buttons, context menus) too,
    // whatever the user's locale. Once per application; false when Qt's translations are missing.
    static bool installRussianTranslation();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void loadAtStartUp();
    // Tasks (MainWindowTasks.cpp).
    void createTaskMenu();
    void fillRecentTasksMenu();
    void showTaskHint(QAction* action);
    void markModified();
    void showTitle();
    // Asks whether to save the unsaved changes of the task, if there are any; false: cancelled.
    bool settleUnsavedChanges();
    bool saveUnderNewName();
    bool writeTask(const QString& path);
    bool applyTaskFile(const QString& path);
    void watchEdits(QObject* binding);
    void applySystem(int kind);
    void createMenus();
    void createViews();
    void nameSeries();
    void setSystemMarks(int kind);
    void arrangeStrips();
    void placeStrip(QMdiSubWindow* window, double topTwips, double heightTwips);
    void placeAdditionalResultsStrip();
    QMdiSubWindow* addStrip(QWidget* view);
    void reveal(QWidget* widget);
    // Shows the text in a label that names itself by its text, and tells assistive technology.
    static void showAnnounced(QLabel* label, const QString& text);
    // "Расчет" names its key in its tool tip.
    void showCalculateKey();

    // The main panel's events.
    void createMainPanelCommands();
    void mainPanelButtonClicked(int index, ZuPanelButton* button);
    void mainPanelEntrySelected(int index, const QString& caption, const QString& toolTip);
    void mainPanelPicked(const QString& key);
    void runMainPanelCommand(const QString& key);
    void mainPanelButtonEntered(int index, ZuPanelButton* button);
    void raiseMainPanel(int index);

    // The main panel's commands.
    void calculate();
    void showScheme();
    void showWebSite();
    void showAbout();
    void askQuit();
    void quitByCommand();
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
    PanelCommands mainPanelCommands_;
    QLabel* hintLine_ = nullptr;        // hint line
    QLabel* panelIndexLabel_ = nullptr; // panel index
    QLabel* ownerLogo_ = nullptr;
    std::array<QAction*, 8> systemActions_{};
    QAction* calculateAction_ = nullptr;
    std::array<CalcWindowView*, 3> views_{}; // Form1, Form2, Form3
    std::array<QMdiSubWindow*, 3> strips_{};
    AdditionalResultsView* additionalResults_ = nullptr;
    QMdiSubWindow* additionalResultsStrip_ = nullptr;
    QPointer<MixedSchemeWindow> twoStageSchemeWindow_;
    QPointer<ThreeCircuitSchemeWindow> threeCircuitSchemeWindow_;
    QPointer<ExchangerPictureWindow> exchangerSchemeWindow_;
    QPointer<ParallelSchemeWindow> parallelSchemeWindow_;
    QPointer<WebPageWindow> webSiteWindow_;
    std::array<QPointer<VariantsWindow>, 3> variantsWindows_; // Form1, Form2, Form3
    int waitDepth_ = 0;
    bool quitPending_ = false;
    bool closing_ = false;
    QTimer* quitRetry_ = nullptr;

    QMenu* taskMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QString taskPath_;
    std::string taskFileName_; // the "name" the task file gave, kept when it is saved again
    std::vector<std::string> limitAnswers_;
    RecentTasks recentTasks_;
    bool changesSettled_ = false; // closing goes on after the question was answered
};
