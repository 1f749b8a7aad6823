#include "DeliveryTermsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "DialogWait.h"
#include "ReportBuilder.h"

namespace {

// The report keeps the dialog's line breaks as CR LF; the boxes show plain line breaks.
QString shown(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
std::string kept(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t.replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

QPlainTextEdit* multiLine(const char* name, const QString& spoken, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(spoken);
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * 4 + 12);
    box->setMinimumWidth(
        box->fontMetrics().horizontalAdvance(QStringLiteral("EXW-Минск, 3-5 дней с момента")));
    return box;
}

QLineEdit* singleLine(const char* name, const QString& spoken, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(spoken);
    return box;
}

// clang-format off
struct ColumnDesign { const char* heading; const char* headingName; const char* spoken;
                      const char* price; const char* terms; const char* notes; };
const ColumnDesign columnDesigns[3] = {
    {"ГВС",        "Label6", "ГВС",        "Text2", "Text3", "Text4"},
    {"отопления",  "Label7", "отопление",  "Text5", "Text6", "Text7"},
    {"вентиляции", "Label8", "вентиляция", "Text8", "Text9", "Text10"},
};
// clang-format on

} // namespace

void DeliveryTermsDialog::Column::setEnabled(bool enabled) const {
    for (QWidget* w : std::initializer_list<QWidget*>{heading, price, terms, notes})
        w->setEnabled(enabled);
}

kalvar::TermsColumn DeliveryTermsDialog::Column::read() const {
    return {price->text().toStdString(), kept(terms->toPlainText()), kept(notes->toPlainText())};
}

void DeliveryTermsDialog::Column::show(const kalvar::TermsColumn& column) const {
    price->setText(QString::fromStdString(column.price));
    terms->setPlainText(shown(column.terms));
    notes->setPlainText(shown(column.notes));
}

DeliveryTermsDialog::DeliveryTermsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form4");
    setWindowTitle("Условия поставки товара");
    setModal(false);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(192, 255, 255));
    setPalette(background);
    setAutoFillBackground(true);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);

    auto* nameLabel = new QLabel("Название объекта:", this);
    objectNameBox = singleLine("Text1", "Название объекта", this);
    nameLabel->setBuddy(objectNameBox);
    grid->addWidget(nameLabel, 0, 0, 1, 4);
    grid->addWidget(objectNameBox, 1, 0, 1, 4);

    auto* heading = new QLabel("ТЕПЛООБМЕННИК для ", this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    grid->addWidget(heading, 2, 0);

    Column* const columns[3] = {&hotWater, &heating, &ventilation};
    for (int c = 0; c < 3; ++c) {
        const ColumnDesign& design = columnDesigns[c];
        QLabel* l = new QLabel(design.heading, this);
        l->setObjectName(design.headingName);
        l->setFont(bold);
        l->setAlignment(Qt::AlignCenter);
        grid->addWidget(l, 2, 1 + c);
        columns[c]->heading = l;
    }
    // Made row by row, as the dialog was designed; the keyboard goes column by column.
    for (int c = 0; c < 3; ++c)
        columns[c]->price =
            singleLine(columnDesigns[c].price, QString("Цена без НДС, ") + columnDesigns[c].spoken, this);
    for (int c = 0; c < 3; ++c)
        columns[c]->terms = multiLine(columnDesigns[c].terms,
                                      QString("Условия для поставки, ") + columnDesigns[c].spoken, this);
    for (int c = 0; c < 3; ++c)
        columns[c]->notes =
            multiLine(columnDesigns[c].notes, QString("Примечания, ") + columnDesigns[c].spoken, this);

    const char* rowLabels[] = {"Цена без НДС:", "Условия для поставки:", "Примечания:"};
    for (int r = 0; r < 3; ++r) {
        auto* label = new QLabel(rowLabels[r], this);
        grid->addWidget(label, 3 + r, 0, r == 0 ? Qt::AlignVCenter : Qt::AlignTop);
        for (int c = 0; c < 3; ++c) {
            const Column& column = *columns[c];
            QWidget* box = r == 0   ? static_cast<QWidget*>(column.price)
                           : r == 1 ? static_cast<QWidget*>(column.terms)
                                    : column.notes;
            if (c == 0) label->setBuddy(box);
            grid->addWidget(box, 3 + r, 1 + c);
        }
    }

    okButton = new QPushButton("Ok", this);
    okButton->setObjectName("Check1");
    okButton->setCheckable(true); // a check box drawn as a button
    okButton->setAutoDefault(false);
    okButton->setMinimumWidth(okButton->fontMetrics().horizontalAdvance(QStringLiteral("Продолжить")) + 24);
    grid->addWidget(okButton, 6, 3, Qt::AlignRight);
    variantsSheetBox = new QCheckBox(QStringLiteral("добавить лист «Варианты»"), this);
    variantsSheetBox->setObjectName(QStringLiteral("variantsSheetBox"));
    variantsSheetBox->setToolTip(
        QStringLiteral("Все теплообменники, подходящие для задачи, на листе после описаний"));
    grid->addWidget(variantsSheetBox, 6, 0, 1, 3, Qt::AlignLeft);
    for (int c = 1; c <= 3; ++c)
        grid->setColumnStretch(c, 1);
    grid->setSizeConstraint(QLayout::SetMinimumSize);

    QWidget* previous = objectNameBox;
    for (const Column* column : columns)
        for (QWidget* box : std::initializer_list<QWidget*>{column->price, column->terms, column->notes}) {
            setTabOrder(previous, box);
            previous = box;
        }
    setTabOrder(previous, variantsSheetBox);
    setTabOrder(variantsSheetBox, okButton);
    resetToDesigned();
}

kalvar::DeliveryTerms DeliveryTermsDialog::terms() const {
    kalvar::DeliveryTerms t;
    t.objectName = objectNameBox->text().toStdString();
    t.hotWater = hotWater.read();
    t.heating = heating.read();
    t.ventilation = ventilation.read();
    t.variantsSheet = variantsSheetBox->isChecked();
    return t;
}

void DeliveryTermsDialog::setTerms(const kalvar::DeliveryTerms& t) {
    objectNameBox->setText(QString::fromStdString(t.objectName));
    hotWater.show(t.hotWater);
    heating.show(t.heating);
    ventilation.show(t.ventilation);
    variantsSheetBox->setChecked(t.variantsSheet);
}

bool DeliveryTermsDialog::ask(int systemKind) {
    if (DialogWait::isWaiting(this)) return false; // one export at a time
    // The columns of the system's exchangers, those its report describes.
    const kalvar::PrintSelection shown = kalvar::presetPrintSelection(systemKind);
    hotWater.setEnabled(shown.hotWater);
    heating.setEnabled(shown.heating);
    ventilation.setEnabled(shown.ventilation);
    okButton->setChecked(false);
    cancelled_ = false;

    DialogWait wait(this);
    wait.endWhenPressed(okButton);
    wait.endOn(this, &QDialog::rejected);
    wait.present();
    objectNameBox->setFocus();
    if (!wait.run()) return false; // went with its parent
    const bool confirmed = okButton->isChecked() && !cancelled_;
    okButton->setChecked(false);
    hide();
    return confirmed;
}

void DeliveryTermsDialog::reject() {
    // Closing by the title bar or Escape cancels the export; nothing is left waiting.
    cancelled_ = true;
    QDialog::reject();
}
