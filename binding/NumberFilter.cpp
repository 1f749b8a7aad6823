#include "NumberFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>

#include "ModelBinding.h"

namespace numberFilter {

namespace {

bool typable(QChar c, const QString& allowed) {
    return allowed.contains(c);
}

// Swallows typed characters outside the set before the box sees them.
class KeyFilter : public QObject {
  public:
    KeyFilter(QLineEdit* box, const QString& allowed) : QObject(box), allowed_(allowed) {
        box->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            // Shortcuts (Ctrl+A, Ctrl+V, …) are control codes, whatever text the platform gives them.
            if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
                return QObject::eventFilter(watched, event);
            const QString typed = key->text();
            // Keys without a character (arrows), keys whose character prints nothing (Escape,
            // which closes a dialog, and Delete) and the control codes 1..26 pass.
            if (!typed.isEmpty()) {
                const QChar c = typed.front();
                const bool control = c.unicode() <= 26 || !c.isPrint();
                if (!control && !typable(c, allowed_)) return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QString allowed_;
};

// Cleans what arrives in one piece (paste, drop).
class PasteFilter : public QValidator {
  public:
    PasteFilter(QLineEdit* box, const QString& allowed, const ModelBinding* binding)
        : QValidator(box), allowed_(allowed), binding_(binding) {}

    State validate(QString& input, int& pos) const override {
        if (binding_ && binding_->refreshing()) return Acceptable;
        QString kept;
        int cursor = pos;
        for (int i = 0; i < input.size(); ++i) {
            if (typable(input[i], allowed_))
                kept += input[i];
            else if (i < pos)
                --cursor;
        }
        input = kept;
        pos = cursor;
        return Acceptable;
    }

  private:
    QString allowed_;
    QPointer<const ModelBinding> binding_;
};

} // namespace

QString keepTypable(const QString& text, const QString& allowed) {
    QString kept;
    for (QChar c : text)
        if (typable(c, allowed)) kept += c;
    return kept;
}

void install(QLineEdit* box, const QString& allowed, const ModelBinding& binding) {
    new KeyFilter(box, allowed);
    box->setValidator(new PasteFilter(box, allowed, &binding));
}

void install(QLineEdit* box, const QString& allowed) {
    new KeyFilter(box, allowed);
    box->setValidator(new PasteFilter(box, allowed, nullptr));
}

} // namespace numberFilter
