#include "ReportActions.h"
#include "VariantsSheet.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "DeliveryTermsDialog.h"
#include "PrintSelectionDialog.h"
#include "SheetRenderer.h"
#include "XlsxWriter.h"

namespace kalvar {

namespace {

const QString saveTitle = QStringLiteral("Сохранить");
const QString printTitle = QStringLiteral("Печать");
const QString pdfTitle = QStringLiteral("Сохранить PDF");

// The hourglass while a step runs, and the default pointer again whatever happens.
class BusyPointer {
  public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

std::string objectNameProblem(const std::string& objectName) {
    const QString name = qs(objectName);
    if (name.trimmed().isEmpty()) return "Не задано название объекта.";
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return "Название объекта не должно содержать знаков \"/\" и \"\\\".";
    if (name.contains(QStringLiteral(".."))) return "Название объекта не должно содержать \"..\".";
    for (const QChar c : name) {
        if (c.unicode() < 32 || QStringLiteral("<>:\"|?*").contains(c))
            return "Название объекта не должно содержать знаков < > : \" | ? * и управляющих символов.";
    }
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')) ||
        name.startsWith(QLatin1Char(' ')))
        return "Название объекта не должно начинаться с пробела и кончаться пробелом или точкой.";
    if (name.toUtf8().size() > 200) return "Название объекта слишком длинное для имени файла.";
    // Names Windows reserves for devices, with any extension.
    const QString stem = name.section(QLatin1Char('.'), 0, 0).toUpper();
    static const QStringList reserved = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                         "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                         "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    if (reserved.contains(stem)) return "Название объекта \"" + objectName + "\" зарезервировано системой.";
    return {};
}

// Marks an export as running; a second one asked for meanwhile is refused. The actions object
// may go with its window while a dialog waits: then nothing of it is touched any more.
class ReportActions::Running {
  public:
    explicit Running(ReportActions* actions) : actions_(actions) { actions->busy_ = true; }
    ~Running() {
        if (actions_) actions_->busy_ = false;
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    bool alive() const { return !actions_.isNull(); }

  private:
    QPointer<ReportActions> actions_;
};

ReportActions::ReportActions(QWidget* parent, Session& session)
    : QObject(parent), parent_(parent), session_(session) {
    openFile = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
}

ReportActions::~ReportActions() {
    delete form4_;
    delete form9_;
}

DeliveryTermsDialog* ReportActions::deliveryTermsDialog() {
    if (!form4_) form4_ = new DeliveryTermsDialog(parent_);
    return form4_;
}

PrintSelectionDialog* ReportActions::printSelectionDialog() {
    if (!form9_) form9_ = new PrintSelectionDialog(parent_);
    return form9_;
}

void ReportActions::fail(const QString& title, const QString& text) {
    QMessageBox::information(parent_, title, text);
}

bool ReportActions::askTerms(DeliveryTerms& terms) {
    DeliveryTermsDialog* dialog = deliveryTermsDialog();
    if (!dialog->ask(session_.state.systemKind)) return false;
    terms = dialog->terms();
    return true;
}

bool ReportActions::buildBook(const DeliveryTerms& terms, Workbook& book, const QString& title) {
    try {
        const BusyPointer busy;
        book = buildReport(session_, owner, terms, reportOptions);
        return true;
    } catch (const WorkbookError& e) {
        fail(title, "Отчет не построен: " + qs(e.what()));
        return false;
    }
}

bool ReportActions::targetPath(const DeliveryTerms& terms, const char* extension, const QString& title,
                               std::string& path) {
    if (const std::string problem = objectNameProblem(terms.objectName); !problem.empty()) {
        fail(title, qs(problem) + "\nФайл не сохранен.");
        return false;
    }
    std::error_code error;
    const std::filesystem::path folder = session_.state.workDir.empty()
                                             ? std::filesystem::current_path(error)
                                             : std::filesystem::path(session_.state.workDir);
    path = (folder / (terms.objectName + extension)).string();
    if (std::filesystem::exists(path, error)) {
        const auto answer = QMessageBox::question(
            parent_, title, "Файл \"" + qs(terms.objectName + extension) + "\" уже существует. Заменить его?",
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) return false;
    }
    return true;
}

bool ReportActions::save() {
    if (busy_) return false;
    const Running running(this);
    DeliveryTerms terms;
    if (!askTerms(terms) || !running.alive()) return false;
    std::string path;
    if (!targetPath(terms, ".xlsx", saveTitle, path)) return false;
    Workbook book;
    if (!buildBook(terms, book, saveTitle)) return false;
    try {
        const BusyPointer busy;
        writeXlsx(book, path);
    } catch (const WorkbookError& e) {
        fail(saveTitle, "Книга не сохранена: " + qs(e.what()));
        return false;
    }
    deliveryTermsDialog()->resetToDesigned();
    if (openFile && !openFile(qs(path)))
        fail(saveTitle, "Книга сохранена в файле \"" + qs(path) + "\", но открыть ее не удалось.");
    return true;
}

bool ReportActions::savePdf() {
    if (busy_) return false;
    const Running running(this);
    DeliveryTerms terms;
    if (!askTerms(terms) || !running.alive()) return false;
    std::string path;
    if (!targetPath(terms, ".pdf", pdfTitle, path)) return false;
    Workbook book;
    if (!buildBook(terms, book, pdfTitle)) return false;
    try {
        const BusyPointer busy;
        std::vector<std::string> sheets = reportSheetNames(session_.windows, session_.state.systemKind);
        if (terms.variantsSheet) sheets.push_back(variantsSheetName);
        writePdf(book, path, sheets, session_.windows.decimalSeparator);
    } catch (const WorkbookError& e) {
        fail(pdfTitle, "Файл PDF не сохранен: " + qs(e.what()));
        return false;
    }
    deliveryTermsDialog()->resetToDesigned();
    return true;
}

bool ReportActions::print() {
    if (busy_) return false;
    const Running running(this);
    DeliveryTerms terms;
    if (!askTerms(terms) || !running.alive()) return false;
    PrintSelection selection;
    if (!printSelectionDialog()->ask(session_.state.systemKind, selection) || !running.alive()) return false;
    std::vector<std::string> sheets = selectedSheetNames(selection, session_.state.systemKind);
    // The sheet asked for in the delivery terms prints after the chosen ones.
    if (terms.variantsSheet) sheets.push_back(variantsSheetName);
    if (sheets.empty()) {
        fail(printTitle, "Не выбран ни один лист для печати.");
        return false;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName("Расчет пластинчатого теплообменника");
    // On the heap: the window that parents it may close while it is open.
    QPointer<QPrintDialog> dialog = new QPrintDialog(&printer, parent_);
    dialog->setWindowTitle(printTitle);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    const int answer = dialog->exec();
    delete dialog;
    if (answer != QDialog::Accepted || !running.alive()) return false; // cancelled: nothing built or printed

    Workbook book;
    if (!buildBook(terms, book, printTitle)) return false;
    // The sheets are repeated here, in order, once per copy; the printer makes one of each page.
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    try {
        const BusyPointer busy;
        printSheets(printer, book, sheets, copies, session_.windows.decimalSeparator);
    } catch (const WorkbookError& e) {
        fail(printTitle, "Печать не выполнена: " + qs(e.what()));
        return false;
    }
    deliveryTermsDialog()->resetToDesigned();
    return true;
}

} // namespace kalvar
