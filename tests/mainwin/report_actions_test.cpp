// The report actions driven the way a user does: the dialogs are filled in and confirmed with
// the mouse and keyboard, message boxes are read and answered, the printer dialog is set to print
// to a file.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>

#include "DeliveryTermsDialog.h"
#include "PrintSelectionDialog.h"
#include "ReportActions.h"
#include "XlsxReader.h"
#include "pdf_text.h"
#include "test_support.h"

using namespace kalvar;
using kalvar::testing::ScratchDir;

namespace {

// Runs act once find() gives a visible widget; the event loop of the command under test drives it.
template <typename W> void when(std::function<W*()> find, std::function<void(W*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, find, act] {
        W* w = find();
        if (!w || !w->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(w);
    });
    timer->start();
}

template <typename W> W* topLevel() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
}

// A check box is clicked on its box, a button in its middle.
void click(QAbstractButton* button) {
    if (qobject_cast<QCheckBox*>(button))
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    else
        QTest::mouseClick(button, Qt::LeftButton);
}

// Key presses of any text: letters outside ASCII go as key events that carry their text.
void typeText(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 32 && c.unicode() < 127)
            QTest::keyClick(box, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void typeInto(QWidget* box, const QString& text) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete);
    typeText(box, text);
}

// Reads the next message box and presses the button with that text.
void answerMessage(std::vector<std::pair<QString, QString>>& seen, const QString& buttonText = "OK") {
    when<QMessageBox>(topLevel<QMessageBox>, [&seen, buttonText](QMessageBox* box) {
        seen.emplace_back(box->windowTitle(), box->text());
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove('&') == buttonText || box->buttonRole(b) == QMessageBox::AcceptRole ||
                (buttonText == "No" && box->standardButton(b) == QMessageBox::No) ||
                (buttonText == "Yes" && box->standardButton(b) == QMessageBox::Yes)) {
                if (buttonText == "No" && box->standardButton(b) != QMessageBox::No) continue;
                if (buttonText == "Yes" && box->standardButton(b) != QMessageBox::Yes) continue;
                click(b);
                return;
            }
        box->close();
    });
}

struct Desktop {
    Desktop() {
        kalvar::testing::writePassDrawings(dir.path());
        startUp(session, dir.path().string());
        actions = std::make_unique<ReportActions>(&window, session);
        actions->reportOptions.date = 46000;
        actions->openFile = [this](const QString& path) {
            opened.push_back(path);
            return true;
        };
    }
    // Fills the delivery terms once DeliveryTermsDialog shows, then presses "Ok" (or closes it by Escape).
    void fillTerms(const QString& objectName, const QString& heatingPrice = "2000", bool confirm = true) {
        when<DeliveryTermsDialog>(topLevel<DeliveryTermsDialog>, [=](DeliveryTermsDialog* f) {
            typeInto(f->objectNameBox, objectName);
            if (f->heating.price->isEnabled()) typeInto(f->heating.price, heatingPrice);
            if (confirm)
                click(f->okButton);
            else
                QTest::keyClick(f, Qt::Key_Escape);
        });
    }

    ScratchDir dir;
    Session session;
    QWidget window;
    std::unique_ptr<ReportActions> actions;
    std::vector<QString> opened;
    std::vector<std::pair<QString, QString>> messages;
};

} // namespace

TEST(DeliveryTermsDialog, ColumnsOfTheSystemOnlyAndTextsAsTyped) {
    DeliveryTermsDialog dialog;
    struct Case {
        int kind;
        bool hotWater, heating, ventilation;
    };
    for (const Case& c :
         {Case{1, true, false, false}, Case{2, false, true, false}, Case{3, false, false, true},
          Case{5, true, true, false}, Case{8, true, true, true}}) {
        bool enabled[3] = {};
        when<DeliveryTermsDialog>(
            [&] { return &dialog; },
            [&](DeliveryTermsDialog* f) {
                enabled[0] = f->hotWater.heading->isEnabled() && f->hotWater.price->isEnabled() &&
                             f->hotWater.terms->isEnabled() && f->hotWater.notes->isEnabled();
                enabled[1] = f->heating.heading->isEnabled() && f->heating.price->isEnabled() &&
                             f->heating.terms->isEnabled() && f->heating.notes->isEnabled();
                enabled[2] = f->ventilation.heading->isEnabled() && f->ventilation.price->isEnabled() &&
                             f->ventilation.terms->isEnabled() && f->ventilation.notes->isEnabled();
                EXPECT_TRUE(f->objectNameBox->isEnabled());
                click(f->okButton);
            });
        EXPECT_TRUE(dialog.ask(c.kind));
        EXPECT_EQ(enabled[0], c.hotWater) << c.kind;
        EXPECT_EQ(enabled[1], c.heating) << c.kind;
        EXPECT_EQ(enabled[2], c.ventilation) << c.kind;
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(dialog.okButton->isChecked());
    }

    // Greyed columns keep their designed terms; what is typed is passed on unconverted.
    when<DeliveryTermsDialog>([&] { return &dialog; },
                              [&](DeliveryTermsDialog* f) {
                                  typeInto(f->objectNameBox, "Котельная №2");
                                  typeInto(f->heating.price, "около 1500 руб.");
                                  f->heating.notes->setFocus();
                                  typeText(f->heating.notes, "первая строка");
                                  QTest::keyClick(f->heating.notes, Qt::Key_Return);
                                  typeText(f->heating.notes, "вторая");
                                  click(f->okButton);
                              });
    ASSERT_TRUE(dialog.ask(2));
    const DeliveryTerms t = dialog.terms();
    EXPECT_EQ(t.objectName, "Котельная №2");
    EXPECT_EQ(t.heating.price, "около 1500 руб.");
    EXPECT_EQ(t.heating.notes, "первая строка\r\nвторая");
    EXPECT_EQ(t.hotWater.terms, "EXW-Минск, 3-5 дней с \r\nмомента оплаты.\r\n");
    EXPECT_EQ(t.ventilation.terms, "EXW-Минск, 3-5 дней с момента оплаты.\r\n");

    // Closing it by Escape (as by its title bar) cancels and leaves nothing waiting.
    when<DeliveryTermsDialog>([&] { return &dialog; },
                              [&](DeliveryTermsDialog* f) { QTest::keyClick(f, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.ask(2));
    EXPECT_FALSE(dialog.isVisible());
    when<DeliveryTermsDialog>([&] { return &dialog; }, [&](DeliveryTermsDialog* f) { f->close(); });
    EXPECT_FALSE(dialog.ask(2));
}

TEST(PrintSelectionDialog, PresetsBySystemAndTheUsersChoice) {
    PrintSelectionDialog dialog;
    struct Case {
        int kind;
        const char* ticked;   // hot water, heating, ventilation boxes as 0/1
        const char* disabled; // likewise
    };
    for (const Case& c :
         {Case{1, "100", "011"}, Case{2, "010", "101"}, Case{3, "001", "110"}, Case{4, "110", "001"},
          Case{5, "110", "001"}, Case{6, "111", "000"}, Case{8, "111", "000"}}) {
        std::string ticked, disabled;
        bool calculation = false;
        when<PrintSelectionDialog>(
            [&] { return &dialog; },
            [&](PrintSelectionDialog* f) {
                calculation = f->calculationBox->isChecked() && f->calculationBox->isEnabled();
                for (QCheckBox* b : {f->hotWaterBox, f->heatingBox, f->ventilationBox}) {
                    ticked += b->isChecked() ? '1' : '0';
                    disabled += b->isEnabled() ? '0' : '1';
                }
                click(f->continueButton);
            });
        PrintSelection selection;
        EXPECT_TRUE(dialog.ask(c.kind, selection));
        EXPECT_TRUE(calculation);
        EXPECT_EQ(ticked, c.ticked) << c.kind;
        EXPECT_EQ(disabled, c.disabled) << c.kind;
    }
    when<PrintSelectionDialog>([&] { return &dialog; },
                               [&](PrintSelectionDialog* f) {
                                   click(f->calculationBox); // untick "расчет"
                                   click(f->continueButton);
                               });
    PrintSelection selection;
    ASSERT_TRUE(dialog.ask(2, selection));
    EXPECT_EQ(selectedSheetNames(selection, 2), std::vector<std::string>{"Лист1"});
    when<PrintSelectionDialog>([&] { return &dialog; },
                               [&](PrintSelectionDialog* f) { QTest::keyClick(f, Qt::Key_Escape); });
    EXPECT_FALSE(dialog.ask(2, selection));
}

TEST(SaveCommand, SavesUnderTheObjectNameAndOpensIt) {
    Desktop d;
    kalvar::testing::calculate(d.session, 2, {{"Form2", {{"Text30", "0,5"}}}});
    d.fillTerms("Школа 5");
    EXPECT_TRUE(d.actions->save());
    const std::string path = d.dir.file("Школа 5.xlsx");
    ASSERT_TRUE(std::filesystem::exists(path));
    ASSERT_EQ(d.opened.size(), 1u);
    EXPECT_EQ(d.opened[0].toStdString(), path);
    const Workbook book = readXlsx(path);
    EXPECT_EQ(book.sheet("Лист4").text(8, 3), "Школа 5");
    EXPECT_EQ(book.sheet("Лист1").text(39, 3), "2000");
    // The next export starts from the designed texts again.
    EXPECT_EQ(d.actions->deliveryTermsDialog()->objectNameBox->text(), "");
}

TEST(SaveCommand, RefusedNamesAndFailuresAreToldAndTheEntriesKept) {
    Desktop d;
    kalvar::testing::calculate(d.session, 2, {{"Form2", {{"Text30", "0,5"}}}});
    for (const QString& name : {QString(""), QString("  "), QString("../Школа"), QString("a/b"),
                                QString("CON"), QString("nul.txt"), QString("a:b"), QString("..")}) {
        d.fillTerms(name, "777");
        answerMessage(d.messages);
        EXPECT_FALSE(d.actions->save()) << name.toStdString();
        ASSERT_FALSE(d.messages.empty());
        EXPECT_EQ(d.messages.back().first, "Сохранить");
        EXPECT_TRUE(d.messages.back().second.contains("Файл не сохранен"))
            << d.messages.back().second.toStdString();
        EXPECT_EQ(d.actions->deliveryTermsDialog()->heating.price->text(), "777") << "kept for a retry";
    }
    EXPECT_EQ(d.messages.size(), 8u);
    EXPECT_TRUE(d.messages[0].second.startsWith("Не задано название объекта."));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(d.dir.path()), {}), 1)
        << "only the picture folder";
    EXPECT_TRUE(d.opened.empty());

    // A missing pass drawing: the report is not built, and the user hears why.
    std::filesystem::remove_all(d.dir.path() / "picture");
    d.fillTerms("Школа 6", "888");
    answerMessage(d.messages);
    EXPECT_FALSE(d.actions->save());
    EXPECT_TRUE(d.messages.back().second.startsWith("Отчет не построен: Файл не найден"))
        << d.messages.back().second.toStdString();
    EXPECT_FALSE(std::filesystem::exists(d.dir.file("Школа 6.xlsx")));
    EXPECT_EQ(d.actions->deliveryTermsDialog()->objectNameBox->text(), "Школа 6");
}

TEST(SaveCommand, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
    Desktop d;
    kalvar::testing::calculate(d.session, 2, {{"Form2", {{"Text30", "0,5"}}}});
    const std::string path = d.dir.file("Школа 5.xlsx");
    std::ofstream(path) << "the user's own file";
    d.fillTerms("Школа 5");
    answerMessage(d.messages, "No");
    EXPECT_FALSE(d.actions->save());
    ASSERT_EQ(d.messages.size(), 1u);
    EXPECT_EQ(d.messages[0].second, "Файл \"Школа 5.xlsx\" уже существует. Заменить его?");
    EXPECT_EQ(std::filesystem::file_size(path), std::string("the user's own file").size());

    d.fillTerms("Школа 5");
    answerMessage(d.messages, "Yes");
    EXPECT_TRUE(d.actions->save());
    EXPECT_EQ(readXlsx(path).sheet(1).text(8, 3), "Школа 5");
}

// A disk that fills up while the file is written: the user hears it, the file replaced keeps its
// old content, and nothing half-written is left.
TEST(SaveCommand, AFileThatCannotBeWrittenWholeKeepsTheOldOne) {
    Desktop d;
    kalvar::testing::calculate(d.session, 2, {{"Form2", {{"Text30", "0,5"}}}});
    struct Case {
        const char* extension;
        bool (ReportActions::*command)();
        const char* told;
    };
    for (const Case& c : {Case{".xlsx", &ReportActions::save, "Книга не сохранена: Файл \""},
                          Case{".pdf", &ReportActions::savePdf, "Файл PDF не сохранен: Файл \""}}) {
        const std::string path = d.dir.file(std::string("Школа 5") + c.extension);
        std::ofstream(path) << "old";
        d.fillTerms("Школа 5");
        // "Replace it?" Yes; then the failure is told.
        when<QMessageBox>(topLevel<QMessageBox>, [&d](QMessageBox* box) {
            click(box->button(QMessageBox::Yes));
            answerMessage(d.messages);
        });
        {
            const kalvar::testing::FileSizeLimit limit(2048);
            EXPECT_FALSE((d.actions.get()->*c.command)()) << c.extension;
        }
        ASSERT_FALSE(d.messages.empty());
        EXPECT_TRUE(
            d.messages.back().second.startsWith(QString::fromUtf8(c.told) + QString::fromStdString(path)))
            << d.messages.back().second.toStdString();
        std::ifstream in(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old") << c.extension;
        for (const auto& entry : std::filesystem::directory_iterator(d.dir.path()))
            EXPECT_TRUE(entry.is_directory() || entry.path().extension() == ".xlsx" ||
                        entry.path().extension() == ".pdf")
                << entry.path();
    }
    EXPECT_TRUE(d.opened.empty());
}

TEST(SaveCommand, ClosingTheTermsDialogCancelsQuietly) {
    Desktop d;
    d.fillTerms("Школа 5", "1", false);
    EXPECT_FALSE(d.actions->save());
    EXPECT_FALSE(std::filesystem::exists(d.dir.file("Школа 5.xlsx")));
    EXPECT_TRUE(d.messages.empty());
    EXPECT_FALSE(d.actions->busy());
}

namespace {

// Sets the printer dialog to print to a file with a copy count, then presses its print button
// (or Escape).
void printToFile(const std::string& path, int copies, bool confirm = true) {
    when<QPrintDialog>(topLevel<QPrintDialog>, [=](QPrintDialog* dialog) {
        if (!confirm) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        auto* file = dialog->findChild<QLineEdit*>("filename");
        ASSERT_NE(file, nullptr);
        typeInto(file, QString::fromStdString(path));
        auto* count = dialog->findChild<QSpinBox*>("copies");
        ASSERT_NE(count, nullptr);
        count->setValue(copies);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        for (QAbstractButton* b : buttons->buttons())
            if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) {
                click(b);
                return;
            }
        ADD_FAILURE() << "no print button";
    });
}

} // namespace

TEST(PrintCommand, ChosenSheetsTimesCopiesInOrder) {
    Desktop d;
    kalvar::testing::calculate(
        d.session, 6,
        {{"Form1", {{"Text30", "0,2"}}}, {"Form2", {{"Text30", "0,5"}}}, {"Form3", {{"Text30", "0,3"}}}});
    when<DeliveryTermsDialog>(topLevel<DeliveryTermsDialog>, [](DeliveryTermsDialog* f) {
        typeInto(f->objectNameBox, "Школа 7");
        typeInto(f->hotWater.price, "1111");
        typeInto(f->heating.price, "2222");
        typeInto(f->ventilation.price, "3333");
        click(f->okButton);
    });
    when<PrintSelectionDialog>(topLevel<PrintSelectionDialog>,
                               [](PrintSelectionDialog* f) { click(f->continueButton); });
    const std::string pdf = d.dir.file("printed.pdf");
    printToFile(pdf, 3);
    EXPECT_TRUE(d.actions->print());
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(kalvar::testing::pdfPageCount(pdf), 12);
    const auto pages = kalvar::testing::pdfPageTexts(pdf);
    if (!pages) GTEST_SKIP() << "no PDF text extractor (ghostscript) installed: page order not checked";
    ASSERT_EQ(pages->size(), 12u);
    for (int copy = 0; copy < 3; ++copy) {
        SCOPED_TRACE(copy);
        // The extractor reads our digits reliably, not every Cyrillic glyph: the date marks the
        // calculation sheet, the prices typed for each column the descriptions.
        EXPECT_TRUE(pages->at(4 * copy).contains("09.12.2025"));
        EXPECT_TRUE(pages->at(4 * copy + 1).contains("1111"));
        EXPECT_TRUE(pages->at(4 * copy + 2).contains("2222"));
        EXPECT_TRUE(pages->at(4 * copy + 3).contains("3333"));
    }
}

TEST(PrintCommand, CancellingThePrinterDialogLeavesNothingBehind) {
    Desktop d;
    kalvar::testing::calculate(d.session, 2, {{"Form2", {{"Text30", "0,5"}}}});
    d.fillTerms("Школа 8");
    when<PrintSelectionDialog>(topLevel<PrintSelectionDialog>, [](PrintSelectionDialog* f) {
        click(f->calculationBox);
        click(f->continueButton);
    });
    printToFile(d.dir.file("never.pdf"), 1, false);
    EXPECT_FALSE(d.actions->print());
    EXPECT_FALSE(std::filesystem::exists(d.dir.file("never.pdf")));
    EXPECT_FALSE(d.actions->deliveryTermsDialog()->isVisible());
    EXPECT_FALSE(d.actions->printSelectionDialog()->isVisible());
    EXPECT_EQ(topLevel<QPrintDialog>(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(d.messages.empty());
}

TEST(PrintCommand, NothingChosenIsToldBeforeThePrinterIsAsked) {
    Desktop d;
    d.fillTerms("Школа 9");
    when<PrintSelectionDialog>(topLevel<PrintSelectionDialog>, [](PrintSelectionDialog* f) {
        click(f->calculationBox);
        click(f->heatingBox);
        click(f->continueButton);
    });
    answerMessage(d.messages);
    EXPECT_FALSE(d.actions->print());
    ASSERT_EQ(d.messages.size(), 1u);
    EXPECT_EQ(d.messages[0],
              std::make_pair(QString("Печать"), QString("Не выбран ни один лист для печати.")));
}

TEST(SavePdfCommand, TheReportSheetsOfTheSystem) {
    Desktop d;
    kalvar::testing::calculate(d.session, 5,
                               {{"Form2", {{"Text30", "0,6"}}}, {"Form3", {{"Text30", "0,3"}}}});
    d.fillTerms("Школа 10");
    EXPECT_TRUE(d.actions->savePdf());
    const std::string pdf = d.dir.file("Школа 10.pdf");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(kalvar::testing::pdfPageCount(pdf), 3);
}

// The main window may close while the delivery terms wait: the export ends quietly and nothing
// of the closed window is touched again.
TEST(SaveCommand, TheWindowClosingWhileTheTermsWaitEndsTheExport) {
    ScratchDir dir;
    Session session;
    startUp(session, dir.path().string());
    auto* window = new QWidget;
    QPointer<ReportActions> commands = new ReportActions(window, session);
    when<DeliveryTermsDialog>(topLevel<DeliveryTermsDialog>,
                              [window](DeliveryTermsDialog*) { delete window; });
    EXPECT_FALSE(commands->save());
    EXPECT_TRUE(commands.isNull());
    EXPECT_EQ(topLevel<DeliveryTermsDialog>(), nullptr);
}
