#include "InputFilter.h"

#include <QKeyEvent>

namespace kalvar::dialogs {

namespace {

class InputFilter : public QObject {
  public:
    InputFilter(QLineEdit* box, const QString& allowed) : QObject(box), allowed_(allowed) {
        box->installEventFilter(this);
        // Pasting and dropping do not go through the key presses.
        connect(box, &QLineEdit::textEdited, this, [this, box](const QString& text) { sanitise(box, text); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Shortcuts (Ctrl+V, Alt+…) are commands, not typed characters; what they insert is
            // filtered on its way in.
            const bool shortcut =
                key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!shortcut && !key->text().isEmpty() && !passes(key->text().front())) return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    // Keys that type nothing (Escape, Delete) pass as the control keys do.
    bool passes(QChar c) const { return c.unicode() <= 26 || !c.isPrint() || allowed_.contains(c); }

    void sanitise(QLineEdit* box, const QString& text) {
        QString kept;
        int cursor = box->cursorPosition();
        for (int i = 0; i < text.size(); ++i) {
            if (allowed_.contains(text[i]))
                kept += text[i];
            else if (i < box->cursorPosition())
                --cursor;
        }
        if (kept == text) return;
        box->setText(kept);
        box->setCursorPosition(std::max(0, cursor));
    }

    QString allowed_;
};

} // namespace

void filterInput(QLineEdit* box, const QString& allowed) {
    new InputFilter(box, allowed);
}

} // namespace kalvar::dialogs
