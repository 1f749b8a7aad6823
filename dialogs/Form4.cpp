#include "Form4.h"

#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

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

} // namespace

Form4::Form4(QWidget* parent) : QDialog(parent) {
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
    Text1 = singleLine("Text1", "Название объекта", this);
    nameLabel->setBuddy(Text1);
    grid->addWidget(nameLabel, 0, 0, 1, 4);
    grid->addWidget(Text1, 1, 0, 1, 4);

    auto* heading = new QLabel("ТЕПЛООБМЕННИК для ", this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    Label6 = new QLabel("ГВС", this);
    Label7 = new QLabel("отопления", this);
    Label8 = new QLabel("вентиляции", this);
    grid->addWidget(heading, 2, 0);
    int column = 1;
    for (QLabel* l : {Label6, Label7, Label8}) {
        l->setObjectName(l == Label6 ? "Label6" : l == Label7 ? "Label7" : "Label8");
        l->setFont(bold);
        l->setAlignment(Qt::AlignCenter);
        grid->addWidget(l, 2, column++);
    }

    const QString columns[] = {"ГВС", "отопление", "вентиляция"};
    Text2 = singleLine("Text2", "Цена без НДС, " + columns[0], this);
    Text5 = singleLine("Text5", "Цена без НДС, " + columns[1], this);
    Text8 = singleLine("Text8", "Цена без НДС, " + columns[2], this);
    Text3 = multiLine("Text3", "Условия для поставки, " + columns[0], this);
    Text6 = multiLine("Text6", "Условия для поставки, " + columns[1], this);
    Text9 = multiLine("Text9", "Условия для поставки, " + columns[2], this);
    Text4 = multiLine("Text4", "Примечания, " + columns[0], this);
    Text7 = multiLine("Text7", "Примечания, " + columns[1], this);
    Text10 = multiLine("Text10", "Примечания, " + columns[2], this);

    const char* rowLabels[] = {"Цена без НДС:", "Условия для поставки:", "Примечания:"};
    QWidget* rows[3][3] = {{Text2, Text5, Text8}, {Text3, Text6, Text9}, {Text4, Text7, Text10}};
    for (int r = 0; r < 3; ++r) {
        auto* label = new QLabel(rowLabels[r], this);
        label->setBuddy(rows[r][0]);
        grid->addWidget(label, 3 + r, 0, r == 0 ? Qt::AlignVCenter : Qt::AlignTop);
        for (int c = 0; c < 3; ++c)
            grid->addWidget(rows[r][c], 3 + r, 1 + c);
    }

    Check1 = new QPushButton("Ok", this);
    Check1->setObjectName("Check1");
    Check1->setCheckable(true); // a check box drawn as a button
    Check1->setAutoDefault(false);
    Check1->setMinimumWidth(Check1->fontMetrics().horizontalAdvance(QStringLiteral("Продолжить")) + 24);
    grid->addWidget(Check1, 6, 3, Qt::AlignRight);
    for (int c = 1; c <= 3; ++c)
        grid->setColumnStretch(c, 1);
    grid->setSizeConstraint(QLayout::SetMinimumSize);

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Text5);
    setTabOrder(Text5, Text6);
    setTabOrder(Text6, Text7);
    setTabOrder(Text7, Text8);
    setTabOrder(Text8, Text9);
    setTabOrder(Text9, Text10);
    setTabOrder(Text10, Check1);
    resetToDesigned();
}

kalvar::DeliveryTerms Form4::terms() const {
    kalvar::DeliveryTerms t;
    t.objectName = Text1->text().toStdString();
    t.hotWater = {Text2->text().toStdString(), kept(Text3->toPlainText()), kept(Text4->toPlainText())};
    t.heating = {Text5->text().toStdString(), kept(Text6->toPlainText()), kept(Text7->toPlainText())};
    t.ventilation = {Text8->text().toStdString(), kept(Text9->toPlainText()), kept(Text10->toPlainText())};
    return t;
}

void Form4::setTerms(const kalvar::DeliveryTerms& t) {
    Text1->setText(QString::fromStdString(t.objectName));
    Text2->setText(QString::fromStdString(t.hotWater.price));
    Text3->setPlainText(shown(t.hotWater.terms));
    Text4->setPlainText(shown(t.hotWater.notes));
    Text5->setText(QString::fromStdString(t.heating.price));
    Text6->setPlainText(shown(t.heating.terms));
    Text7->setPlainText(shown(t.heating.notes));
    Text8->setText(QString::fromStdString(t.ventilation.price));
    Text9->setPlainText(shown(t.ventilation.terms));
    Text10->setPlainText(shown(t.ventilation.notes));
}

void Form4::enableColumns(int systemKind) {
    const bool hotWater = systemKind != 2 && systemKind != 3;
    const bool heating = systemKind != 1 && systemKind != 3;
    const bool ventilation = systemKind != 1 && systemKind != 2 && systemKind != 4 && systemKind != 5;
    for (QWidget* w : std::initializer_list<QWidget*>{Label6, Text2, Text3, Text4})
        w->setEnabled(hotWater);
    for (QWidget* w : std::initializer_list<QWidget*>{Label7, Text5, Text6, Text7})
        w->setEnabled(heating);
    for (QWidget* w : std::initializer_list<QWidget*>{Label8, Text8, Text9, Text10})
        w->setEnabled(ventilation);
}

bool Form4::ask(int systemKind) {
    if (waiting_) return false; // one export at a time
    enableColumns(systemKind);
    Check1->setChecked(false);
    cancelled_ = false;
    waiting_ = true;
    show();
    raise();
    activateWindow();
    Text1->setFocus();

    QPointer<Form4> self(this);
    QEventLoop wait;
    connect(Check1, &QPushButton::toggled, &wait, [&wait](bool on) {
        if (on) wait.quit();
    });
    connect(this, &QDialog::rejected, &wait, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &wait, &QEventLoop::quit);
    wait.exec();
    if (!self) return false; // went with its parent
    waiting_ = false;
    const bool confirmed = Check1->isChecked() && !cancelled_;
    Check1->setChecked(false);
    hide();
    return confirmed;
}

void Form4::reject() {
    // Closing by the title bar or Escape cancels the export; nothing is left waiting.
    cancelled_ = true;
    QDialog::reject();
}
