#pragma once
// The export commands of the desktop program: "Сохранить", "Печать" and "Сохранить PDF". Each runs
// the delivery-terms dialog (and for printing the print selection and the printer dialog) itself,
// builds the report from the session and tells the user in a message box when a step fails. The
// main window owns one object for the whole run and calls one function per command.
#include <functional>
#include <string>

#include <QObject>
#include <QPointer>
#include <QString>

#include "OwnerDetails.h"
#include "ReportBuilder.h"
#include "startup.h"

class DeliveryTermsDialog;
class PrintSelectionDialog;
class QPrinter;
class QWidget;

namespace kalvar {

// Why an object name cannot be a file name, or empty when it can: empty, path separators, "..",
// characters file systems refuse, names the system reserves ("CON", "NUL", "COM1", ...).
std::string objectNameProblem(const std::string& objectName);

class ReportActions : public QObject {
    Q_OBJECT
  public:
    ReportActions(QWidget* parent, Session& session);
    ~ReportActions() override;

    // The owner details of the report header; the main window sets them after reading the site
    // workbooks (readSiteWorkbooks).
    OwnerDetails owner;
    // Options of the report (date, picture folders); the defaults suit the program.
    ReportOptions reportOptions;

    // "Сохранить": delivery terms, then the workbook saved as "<object name>.xlsx" in the working
    // directory and opened in the user's spreadsheet application. False when nothing was saved.
    bool save();
    // "Печать": delivery terms, print selection, the printer dialog, then the chosen sheets as many
    // times as the copies asked for. False when nothing was printed.
    bool print();
    // "Сохранить PDF": delivery terms, then the report as "<object name>.pdf" in the working directory.
    bool savePdf();

    // True while an export waits for one of its dialogs.
    bool busy() const { return busy_; }

    DeliveryTermsDialog* deliveryTermsDialog();
    PrintSelectionDialog* printSelectionDialog();

    // Opens a saved file in the application the desktop associates with it; replaceable where no
    // desktop is (the default uses QDesktopServices).
    std::function<bool(const QString& path)> openFile;

  private:
    class Running;
    // Steps shared by the commands; each false after telling the user why.
    bool askTerms(DeliveryTerms& terms);
    bool buildBook(const DeliveryTerms& terms, Workbook& book, const QString& title);
    bool targetPath(const DeliveryTerms& terms, const char* extension, const QString& title,
                    std::string& path);
    void fail(const QString& title, const QString& text);

    QWidget* parent_;
    Session& session_;
    QPointer<DeliveryTermsDialog> form4_;
    QPointer<PrintSelectionDialog> form9_;
    bool busy_ = false;
};

} // namespace kalvar
