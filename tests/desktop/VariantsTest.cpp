// The variants window as a user meets it: opened by "Варианты" of a calculation window's
// calculation-data menu, sorted by a header click, a row picked with the pointer, "Применить"; the
// window then shows what kalvar-cli calculates for the task with that layout.
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>

#include "DeliveryTermsDialog.h"
#include "DesktopDriver.h"
#include "PlateLimitDialog.h"
#include "ReportActions.h"
#include "VariantsModel.h"
#include "VariantsWindow.h"
#include "XlsxReader.h"
#include "task.h"

using namespace desktop;
using kalvar::WindowId;

namespace {

constexpr int dataButton = 2, calculateButton = 4;
constexpr int variantsItem = 7; // "Данные расчета" → "Варианты"

// The variants window opened through the heating window's menu, or nullptr.
VariantsWindow* openVariants(MainWindow& form, WindowId id = WindowId::Heating) {
    if (!pickMenu(form.view(id)->givenParameterPanel(), 1, variantsItem)) return nullptr;
    if (!waitFor([&] { return form.variantsWindow(id) && form.variantsWindow(id)->isVisible(); }))
        return nullptr;
    return form.variantsWindow(id);
}

QString cell(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}

void clickRow(QTableView* table, int row) {
    const QModelIndex at = table->model()->index(row, VariantsModel::Designation);
    table->scrollTo(at);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(at).center());
}

void clickHeader(QTableView* table, int column) {
    QHeaderView* header = table->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

// The heating window's layout as a control-id task.
std::string layoutTask(int series, int passes, int units) {
    return "{\"decimalSeparator\": \",\", \"windows\": {\"Form2\": {"
           "\"Combo1\": " +
           std::to_string(series - 1) + ", \"Combo2\": " + std::to_string(passes - 1) +
           ", \"Combo3\": " + std::to_string(units - 1) + "}}}";
}

} // namespace

class VariantsTest : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir workDir_;
    std::unique_ptr<MainWindow> form_;

    // withData: the installed data, which holds the pass drawings a report shows.
    MainWindow& start(bool withData = false) {
        form_ = startProgram(workDir_.path(), QStringLiteral(","),
                             withData ? MainWindow::installedDataDir() : QString());
        return *form_;
    }

  private slots:
    void cleanup() { form_.reset(); }

    // Sorted by weight, the third row applied: the window's model is kalvar-cli's for that layout.
    void applyThirdByWeight() {
        MainWindow& form = start();
        VariantsWindow* variants = openVariants(form);
        QVERIFY(variants);
        QTableView* table = variants->table();
        QVERIFY(table->model()->rowCount() >= 3);
        clickHeader(table, VariantsModel::Weight);
        QCOMPARE(table->horizontalHeader()->sortIndicatorSection(), int(VariantsModel::Weight));
        // As numbers, not as texts ("1000" after "999").
        for (int row = 1; row < table->model()->rowCount(); ++row)
            QVERIFY(
                table->model()
                    ->index(row - 1, VariantsModel::Weight)
                    .data(VariantsModel::SortRole)
                    .toDouble() <=
                table->model()->index(row, VariantsModel::Weight).data(VariantsModel::SortRole).toDouble());
        clickRow(table, 2);
        const kalvar::Variant* picked = variants->selectedVariant();
        QVERIFY(picked);
        const kalvar::Variant chosen = *picked;
        QCOMPARE(QString::fromStdString(chosen.results.designation),
                 cell(table, 2, VariantsModel::Designation));

        DialogAnswerer answerer; // any question closes, and is recorded
        QTest::mouseClick(variants->applyButton(), Qt::LeftButton);
        QVERIFY(answerer.unexpected.isEmpty());
        const auto cli = kalvar::runTask(layoutTask(chosen.series, chosen.passes, chosen.units), "");
        const QStringList differences =
            modelDifferences(form.session(), cli, {QStringLiteral("Form2.label54")});
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(QLatin1Char('\n'))));
        QCOMPARE(QString::fromStdString(form.session().windows.heating.designationBox.text),
                 QString::fromStdString(chosen.results.designation));
        // The table follows: the applied layout is now the chosen one.
        const kalvar::Variant* now = variants->selectedVariant();
        QVERIFY(now && now->chosen);
        QCOMPARE(std::tie(now->series, now->passes, now->units),
                 std::tie(chosen.series, chosen.passes, chosen.units));
    }

    // The chosen row is the layout "Расчет" picks, bold and marked, and selected when the window
    // opens — before "Расчет" and after it alike.
    void chosenRow() {
        MainWindow& form = start();
        const auto cli = kalvar::runTask("{}", "");
        const QString designation =
            QString::fromStdString(cli["windows"]["Form2"]["Text1"].get<std::string>());
        for (bool calculated : {false, true}) {
            if (calculated) clickButton(form.mainPanel(), calculateButton);
            VariantsWindow* variants = openVariants(form);
            QVERIFY(variants);
            // Looking at the variants changes nothing of the task.
            QVERIFY(!form.isWindowModified());
            QTableView* table = variants->table();
            QStringList marked;
            for (int row = 0; row < table->model()->rowCount(); ++row)
                if (cell(table, row, VariantsModel::Chosen) == QStringLiteral("выбран")) {
                    marked << cell(table, row, VariantsModel::Designation);
                    QVERIFY(table->model()->index(row, 0).data(Qt::FontRole).value<QFont>().bold());
                    QVERIFY(table->selectionModel()->isRowSelected(row, {}));
                }
            QCOMPARE(marked, QStringList{designation});
            variants->close();
        }
    }

    // Checked at first: only the variants within every limit; unchecked, those that break one too,
    // each with its reason.
    void withinLimitsFilter() {
        MainWindow& form = start();
        typeInto(child<QLineEdit>(form.view(WindowId::Heating), "Text30"), QStringLiteral("2,5"));
        VariantsWindow* variants = openVariants(form);
        QVERIFY(variants);
        QTableView* table = variants->table();
        QVERIFY(variants->withinLimitsBox()->isChecked());
        const int within = table->model()->rowCount();
        for (int row = 0; row < within; ++row)
            QCOMPARE(cell(table, row, VariantsModel::Limit), QString());
        QTest::mouseClick(variants->withinLimitsBox(), Qt::LeftButton);
        QVERIFY(!variants->withinLimitsBox()->isChecked());
        const int all = table->model()->rowCount();
        QCOMPARE(all, variants->model()->rowCount());
        int broken = 0;
        for (int row = 0; row < all; ++row)
            broken += cell(table, row, VariantsModel::Limit).isEmpty() ? 0 : 1;
        QVERIFY(broken > 0);
        QCOMPARE(within + broken, all);
    }

    // A window whose inputs stop "Расчет" with a message shows that message instead of a table.
    void stoppedWindowShowsItsMessage() {
        MainWindow& form = start();
        typeInto(child<QLineEdit>(form.view(WindowId::Heating), "Text30"), QString());
        VariantsWindow* variants = openVariants(form);
        QVERIFY(variants);
        QVERIFY(!variants->table()->isVisible());
        QVERIFY(variants->messageLabel()->isVisible());
        QVERIFY(!variants->applyButton()->isEnabled());
        const auto cli = kalvar::runTask("{\"windows\": {\"Form2\": {\"Text30\": \"\"}}}", "");
        QVERIFY(!cli["messages"].empty());
        QCOMPARE(variants->messageLabel()->text(),
                 QString::fromStdString(cli["messages"][0]["text"].get<std::string>()).replace("\r\n", "\n"));
    }

    // While the limit question waits, "Варианты" is refused like every other command.
    void refusedWhileDialogWaits() {
        MainWindow& form = start();
        CalcWindowView* view = form.view(WindowId::Heating);
        typeInto(child<QLineEdit>(view, "Text30"), QStringLiteral("2,5"));
        QVERIFY(pickMenu(view->layoutPanel(), 1, 1, 1));
        QVERIFY(pickMenu(view->layoutPanel(), 1, 2, 1));
        QVERIFY(pickMenu(view->layoutPanel(), 1, 3, 1));
        DialogAnswerer answerer;
        bool opened = true;
        QString hint;
        answerer.expect([&](QWidget* window) {
            auto* dialog = qobject_cast<PlateLimitDialog*>(window);
            if (!dialog) return false;
            pickMenu(view->givenParameterPanel(), 1, variantsItem);
            hint = form.hintLine()->text();
            opened = form.variantsWindow(WindowId::Heating) != nullptr;
            QTest::mouseClick(buttonCaptioned(dialog, QStringLiteral("Продолжить")), Qt::LeftButton);
            return true;
        });
        clickButton(form.mainPanel(), calculateButton);
        QVERIFY(waitFor([&answerer] { return answerer.done(); }));
        QVERIFY(!opened);
        QVERIFY2(hint.contains(QStringLiteral("Сначала закройте диалог")), qPrintable(hint));
        // Afterwards it opens.
        QVERIFY(openVariants(form));
    }

    // "Сохранить" with "добавить лист «Варианты»" ticked in the delivery terms: the workbook ends
    // with the sheet; left as it starts, unticked, the workbook is as before.
    void reportSheetWhenAsked() {
        MainWindow& form = start(true);
        typeInto(child<QLineEdit>(form.view(WindowId::Heating), "Text30"), QStringLiteral("2,5"));
        clickButton(form.mainPanel(), calculateButton);
        QStringList saved;
        form.reports()->openFile = [&saved](const QString& path) {
            saved << path;
            return true;
        };
        for (const bool asked : {false, true}) {
            DialogAnswerer answerer;
            bool startedUnticked = false;
            answerer.expect([&](QWidget* window) {
                auto* dialog = qobject_cast<DeliveryTermsDialog*>(window);
                if (!dialog) return false;
                startedUnticked = !dialog->variantsSheetBox->isChecked();
                typeInto(dialog->objectNameBox, asked ? QStringLiteral("variants") : QStringLiteral("plain"));
                if (asked) QTest::mouseClick(dialog->variantsSheetBox, Qt::LeftButton);
                QTest::mouseClick(dialog->okButton, Qt::LeftButton);
                return true;
            });
            QVERIFY(pickMenu(form.mainPanel(), dataButton, 1));
            QVERIFY2(waitFor([&] { return answerer.done() && saved.size() == (asked ? 2 : 1); }, 10000),
                     qPrintable(answerer.unexpected.join(QLatin1Char('\n'))));
            QCOMPARE(answerer.unexpected, QStringList());
            QVERIFY(startedUnticked);
            const kalvar::Workbook book = kalvar::readXlsx(saved.last().toStdString());
            QCOMPARE(QString::fromStdString(book.sheets.back().name),
                     asked ? QStringLiteral("Варианты") : QStringLiteral("Лист3"));
            if (!asked) continue;
            const kalvar::Sheet& sheet = book.sheets.back();
            QCOMPARE(QString::fromStdString(sheet.text(3, 1)), QStringLiteral("Теплообменник отопления"));
            QCOMPARE(QString::fromStdString(sheet.text(4, 1)), QStringLiteral("Обозначение"));
        }
    }
};

QTEST_MAIN(VariantsTest)
#include "VariantsTest.moc"
