#include "ModelBinding.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QSignalBlocker>

#include <memory>

#include "window_model.h"

using kalvar::Control;

namespace {

QString tip(const Control& c) {
    return QString::fromStdString(c.toolTip);
}

void showCommon(QWidget* w, const Control& c) {
    if (w->isHidden() == c.visible) w->setVisible(c.visible);
    if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
    if (w->toolTip() != tip(c)) w->setToolTip(tip(c));
    if (w->font().bold() != c.bold) {
        QFont f = w->font();
        f.setBold(c.bold);
        w->setFont(f);
    }
}

void setColour(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    if (w->palette().color(role) == colour) return;
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

} // namespace

ModelBinding::ModelBinding(QObject* parent) : QObject(parent) {}

QColor ModelBinding::colour(uint32_t rgb) {
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void ModelBinding::add(QWidget* widget, std::function<void()> refresher) {
    // A widget may go before the binding does; its refresher then does nothing.
    QPointer<QWidget> guard(widget);
    refreshers_.push_back([guard, refresher = std::move(refresher)] {
        if (guard) refresher();
    });
    refreshers_.back()();
}

// Every change of a widget that the refresh did not make is a user edit: typed, pasted, or set
// through the accessibility interface by a screen reader or a test tool.
void ModelBinding::bindText(QLineEdit* box, Control& control) {
    connect(box, &QLineEdit::textChanged, this, [this, &control](const QString& t) {
        if (refreshing_) return;
        control.text = t.toStdString();
        emit edited();
    });
    add(box, [box, &control] {
        const QString text = QString::fromStdString(control.text);
        if (box->text() != text) box->setText(text);
        box->setReadOnly(control.locked);
        showCommon(box, control);
        setColour(box, QPalette::Base, colour(control.backColor));
        setColour(box, QPalette::Text, colour(control.foreColor));
    });
}

void ModelBinding::bindLabel(QLabel* label, Control& control) {
    add(label, [label, &control] {
        const QString text = QString::fromStdString(control.text);
        if (label->text() != text) label->setText(text);
        showCommon(label, control);
        setColour(label, QPalette::WindowText, colour(control.foreColor));
    });
}

void ModelBinding::bindList(QComboBox* list, Control& control) {
    connect(list, &QComboBox::currentIndexChanged, this, [this, &control](int index) {
        if (refreshing_ || index < 0) return;
        control.setListIndex(index);
        emit edited();
    });
    add(list, [list, &control] {
        const QSignalBlocker quiet(list);
        QStringList items;
        for (const std::string& item : control.items)
            items << QString::fromStdString(item);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->itemText(i);
        if (shown != items) {
            list->clear();
            list->addItems(items);
        }
        const int index = control.listIndex < list->count() ? control.listIndex : -1;
        if (list->currentIndex() != index) list->setCurrentIndex(index);
        showCommon(list, control);
        setColour(list, QPalette::Base, colour(control.backColor));
    });
}

void ModelBinding::bindCheck(QAbstractButton* check, Control& control) {
    check->setCheckable(true);
    connect(check, &QAbstractButton::toggled, this, [this, &control](bool checked) {
        if (refreshing_) return;
        control.value = checked ? 1 : 0;
        emit edited();
    });
    add(check, [check, &control] {
        const QSignalBlocker quiet(check);
        const QString text = QString::fromStdString(control.text);
        if (check->text() != text) check->setText(text);
        if (check->isChecked() != (control.value != 0)) check->setChecked(control.value != 0);
        showCommon(check, control);
    });
}

void ModelBinding::bindButton(QAbstractButton* button, Control& control) {
    add(button, [button, &control] {
        const QString text = QString::fromStdString(control.text);
        if (button->text() != text) button->setText(text);
        showCommon(button, control);
    });
}

void ModelBinding::bindFrame(QGroupBox* frame, Control& control) {
    frame->setAutoFillBackground(true);
    add(frame, [frame, &control] {
        const QString text = QString::fromStdString(control.text);
        if (frame->title() != text) frame->setTitle(text);
        showCommon(frame, control);
        setColour(frame, QPalette::Window, colour(control.backColor));
    });
}

void ModelBinding::bindFrame(QFrame* frame, Control& control) {
    frame->setAutoFillBackground(true);
    add(frame, [frame, &control] {
        showCommon(frame, control);
        setColour(frame, QPalette::Window, colour(control.backColor));
    });
}

void ModelBinding::bindPicture(QLabel* picture, Control& control) {
    // The file is loaded again only when the control names another one.
    auto shownFile = std::make_shared<std::string>();
    auto loaded = std::make_shared<bool>(false);
    add(picture, [picture, &control, shownFile, loaded] {
        if (!*loaded || *shownFile != control.text) {
            *loaded = true;
            *shownFile = control.text;
            QPixmap image;
            if (!control.text.empty()) image.load(QString::fromStdString(control.text));
            if (image.isNull())
                picture->clear();
            else
                picture->setPixmap(image);
        }
        showCommon(picture, control);
    });
}

void ModelBinding::refresh() {
    refreshing_ = true;
    for (auto& refresher : refreshers_)
        refresher();
    refreshing_ = false;
}
