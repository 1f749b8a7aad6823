#include "AccessibleWidgets.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLabel>
#include <QMdiSubWindow>

namespace {

class LabelledComboBoxAccessible : public QAccessibleWidget {
  public:
    explicit LabelledComboBoxAccessible(LabelledComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    LabelledComboBox* list() const { return static_cast<LabelledComboBox*>(object()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return list()->currentText();
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        if (!list()->accessibleName().isEmpty()) return list()->accessibleName();
        QStringList names;
        for (QLabel* label : list()->labels())
            names << label->text();
        return names.isEmpty() ? list()->currentText() : names.join(QLatin1Char(' '));
    }

    // The popup list is the one child, so that its entries can be read and picked.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        auto related = QAccessibleWidget::relations(match); // the buddy label among them
        if (match & QAccessible::Label)
            for (QLabel* label : list()->labels()) {
                QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(label);
                bool known = false;
                for (const auto& r : related)
                    known = known || r.first == iface;
                if (iface && !known) related.append({iface, QAccessible::Label});
            }
        return related;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            if (list()->view()->isVisible())
                list()->hidePopup();
            else
                list()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

// An MDI window: its title, or when it has none, the accessible name of the window it holds.
class CaptionlessFrameAccessible : public QAccessibleWidget {
  public:
    explicit CaptionlessFrameAccessible(QMdiSubWindow* frame)
        : QAccessibleWidget(frame, QAccessible::Window) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        auto* frame = static_cast<QMdiSubWindow*>(object());
        QString title = frame->windowTitle();
        title.remove(QStringLiteral("[*]"));
        if (!title.isEmpty()) return title;
        if (!frame->accessibleName().isEmpty()) return frame->accessibleName();
        return frame->widget() ? frame->widget()->accessibleName() : QString();
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("LabelledComboBox"))
        return new LabelledComboBoxAccessible(static_cast<LabelledComboBox*>(object));
    if (className == QLatin1String("QMdiSubWindow"))
        return new CaptionlessFrameAccessible(static_cast<QMdiSubWindow*>(object));
    return nullptr;
}

} // namespace

LabelledComboBox::LabelledComboBox(QWidget* parent) : QComboBox(parent) {
    accessibleWidgets::install();
}

void LabelledComboBox::addLabel(QLabel* label) {
    labels_.append(label);
}

QList<QLabel*> LabelledComboBox::labels() const {
    QList<QLabel*> alive;
    for (const QPointer<QLabel>& label : labels_)
        if (label) alive.append(label);
    return alive;
}

namespace accessibleWidgets {

void install() {
    // The factories installed last are asked first, before Qt's own.
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(factory);
}

} // namespace accessibleWidgets
