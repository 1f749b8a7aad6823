#include "ZuPanelAccessible.h"

#include "ZuPanel.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace {

// The 1-based numbers of the panel's visible buttons, in order: child i is the i-th of them.
std::vector<int> visibleButtons(const ZuPanel& panel) {
    std::vector<int> result;
    for (int16_t b = 1; b <= panel.Buttons().Count(); ++b)
        if (panel.Buttons().Item(b).Visible()) result.push_back(b);
    return result;
}

class ButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    ButtonAccessible(ZuPanel* panel, int number) : panel_(panel), number_(number) {}

    bool isValid() const override { return button() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return panel_ && panel_->window() ? panel_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(panel_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override {
        const ZuPanelButton* b = button();
        if (!b) return {};
        switch (kind) {
        case QAccessible::Name:
            return b->Caption();
        case QAccessible::Description:
            return b->ToolTipText();
        case QAccessible::Accelerator:
            return b->ShortcutText();
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!panel_) return {};
        const QRect local = panel_->buttonRect(number_);
        return local.isEmpty() ? QRect() : QRect(panel_->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override {
        const ZuPanelButton* b = button();
        return b && b->hasMenu() ? QAccessible::ButtonMenu : QAccessible::Button;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        const ZuPanelButton* b = button();
        if (!b) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.focused = panel_->hasFocus() && panel_->focusedButton() == number_;
        s.disabled = !b->Enabled() || !panel_->isEnabled();
        s.invisible = !b->Visible() || !panel_->isVisible();
        s.hasPopup = b->hasMenu();
        s.expanded = b->hasMenu() && panel_->openMenu() != nullptr &&
                     panel_->openMenu()->objectName().endsWith(QString::number(number_));
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        const ZuPanelButton* b = button();
        if (!b || !b->Enabled()) return {};
        return b->hasMenu() ? QStringList{pressAction(), showMenuAction()} : QStringList{pressAction()};
    }

    void doAction(const QString& name) override {
        if (!actionNames().contains(name)) return;
        // Later, from the event loop, as a click would come: the command may open dialogs of its own.
        QTimer::singleShot(0, panel_.data(), [panel = panel_, number = number_] {
            if (panel) panel->activateButton(number, false);
        });
    }

    QStringList keyBindingsForAction(const QString& name) const override {
        const ZuPanelButton* b = button();
        if (!b || b->ShortcutText().isEmpty() || name != pressAction()) return {};
        return {b->ShortcutText()};
    }

  private:
    const ZuPanelButton* button() const {
        if (!panel_ || number_ < 1 || number_ > panel_->Buttons().Count()) return nullptr;
        return &panel_->Buttons().Item(static_cast<int16_t>(number_));
    }

    QPointer<ZuPanel> panel_;
    int number_;
};

class PanelAccessible : public QAccessibleWidget {
  public:
    explicit PanelAccessible(ZuPanel* panel) : QAccessibleWidget(panel, QAccessible::ToolBar) {}
    ~PanelAccessible() override {
        for (QAccessible::Id id : std::as_const(children_))
            QAccessible::deleteAccessibleInterface(id);
    }

    ZuPanel* panel() const { return static_cast<ZuPanel*>(widget()); }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            QString name = panel()->accessibleName();
            if (name.isEmpty()) name = panel()->panelCaption();
            if (name.isEmpty()) name = QStringLiteral("Панель кнопок %1").arg(panel()->index());
            return name;
        }
        return QAccessibleWidget::text(kind);
    }

    int childCount() const override { return static_cast<int>(visibleButtons(*panel()).size()); }

    QAccessibleInterface* child(int index) const override {
        const std::vector<int> buttons = visibleButtons(*panel());
        if (index < 0 || index >= static_cast<int>(buttons.size())) return nullptr;
        const int number = buttons[static_cast<size_t>(index)];
        auto found = children_.constFind(number);
        if (found != children_.constEnd()) return QAccessible::accessibleInterface(*found);
        auto* child = new ButtonAccessible(panel(), number);
        children_.insert(number, QAccessible::registerAccessibleInterface(child));
        return child;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<int> buttons = visibleButtons(*panel());
        for (size_t i = 0; i < buttons.size(); ++i) {
            auto found = children_.constFind(buttons[i]);
            if (found != children_.constEnd() && QAccessible::accessibleInterface(*found) == child)
                return static_cast<int>(i);
        }
        return -1;
    }

    QAccessibleInterface* focusChild() const override {
        if (!panel()->hasFocus()) return nullptr;
        const std::vector<int> buttons = visibleButtons(*panel());
        const auto at = std::find(buttons.begin(), buttons.end(), panel()->focusedButton());
        return at == buttons.end() ? nullptr : child(static_cast<int>(at - buttons.begin()));
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const int number = panel()->buttonAt(panel()->mapFromGlobal(QPoint(x, y)));
        if (number == 0) return nullptr;
        const std::vector<int> buttons = visibleButtons(*panel());
        const auto at = std::find(buttons.begin(), buttons.end(), number);
        return at == buttons.end() ? nullptr : child(static_cast<int>(at - buttons.begin()));
    }

  private:
    mutable QHash<int, QAccessible::Id> children_;
};

QAccessibleInterface* panelFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("ZuPanel") && object && object->isWidgetType())
        return new PanelAccessible(static_cast<ZuPanel*>(object));
    return nullptr;
}

} // namespace

void installZuPanelAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(panelFactory);
        return true;
    }();
    (void)installed;
}
