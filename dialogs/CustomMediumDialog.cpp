#include "CustomMediumDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DialogWait.h"
#include "NumberFilter.h"

namespace {

// clang-format off
struct PropertyRow { const char* name; const char* label; const char* unit; const char* spokenUnit; };
const PropertyRow propertyRows[4] = {
    {"Text11", "Теплоемкость",     "Дж/кг°С",        "Дж/кг°С"},
    {"Text12", "Плотность",        "кг/м<sup>3</sup>", "кг/м³"},
    {"Text13", "Вязкость",         "мПа·с",          "мПа·с"},
    {"Text14", "Теплопроводность", "Вт/м°С",         "Вт/м°С"},
};
// clang-format on

} // namespace

CustomMediumDialog::CustomMediumDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Form10");
    setWindowTitle("Введите теплотехнические параметры среды в заданном диапазоне температур");
    setModal(false);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(255, 255, 128));
    setPalette(background);
    setAutoFillBackground(true);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    std::array<QLineEdit*, 4> created{};
    for (int row = 0; row < 4; ++row) {
        const PropertyRow& r = propertyRows[row];
        auto* label = new QLabel(QString::fromUtf8(r.label), this);
        auto* box = new QLineEdit(this);
        auto* unit = new QLabel(QString::fromUtf8(r.unit), this);
        box->setObjectName(r.name);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000000000") + 12);
        box->setAccessibleName(QString::fromUtf8(r.label) + ", " + QString::fromUtf8(r.spokenUnit));
        label->setBuddy(box);
        unit->setTextFormat(Qt::RichText);
        numberFilter::install(box, numberFilter::numberCharacters);
        grid->addWidget(label, row, 1);
        grid->addWidget(box, row, 2);
        grid->addWidget(unit, row, 3);
        created[row] = box;
    }
    heatCapacityBox = created[0];
    densityBox = created[1];
    viscosityBox = created[2];
    conductivityBox = created[3];

    continueButton = new QPushButton("Продолжить", this);
    continueButton->setObjectName("Check1");
    continueButton->setCheckable(true); // a check box drawn as a button: it stays pressed
    continueButton->setAutoDefault(false);
    continueButton->setAccessibleName("Продолжить");
    grid->addWidget(continueButton, 4, 1, 1, 3, Qt::AlignHCenter);
    // The groups stay together in the middle of a window wide enough for its long caption.
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(4, 1);
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 80);
}

void CustomMediumDialog::showValues(const std::array<std::string, 4>& properties) {
    const auto all = boxes();
    for (size_t i = 0; i < all.size(); ++i)
        all[i]->setText(QString::fromStdString(properties[i]));
}

void CustomMediumDialog::exchange(std::array<std::string, 4>& properties) {
    const auto all = boxes();
    if (waiting_ > 0) {
        std::array<std::string, 4> typed;
        for (size_t i = 0; i < all.size(); ++i)
            typed[i] = all[i]->text().toStdString();
        suspended_.push_back(typed);
    }
    showValues(properties);
    continueButton->setChecked(false);
    const int level = ++waiting_;

    DialogWait wait(this);
    // Only the innermost exchange takes the press; an outer one goes on waiting for its own.
    wait.endWhenPressed(continueButton, [this, level] { return waiting_ == level; });
    wait.present();
    if (!wait.run()) return; // the dialog went with its parent: the caller keeps its texts

    for (size_t i = 0; i < all.size(); ++i)
        properties[i] = all[i]->text().toStdString();
    continueButton->setChecked(false);
    --waiting_;
    if (waiting_ == 0) {
        hide();
    } else {
        showValues(suspended_.back()); // the outer exchange gets its box texts back
        suspended_.pop_back();
    }
}

void CustomMediumDialog::reject() {
    // Closing by the title bar or Escape confirms, so no window is left waiting.
    if (waiting_ > 0) {
        continueButton->setChecked(true);
        return;
    }
    QDialog::reject();
}
