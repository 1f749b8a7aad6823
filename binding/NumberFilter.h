#pragma once
// The keystroke filter of the number boxes of the calculation windows and dialogs. A typed
// character passes when its code is 26 or less (backspace, tab, enter and the other control keys),
// when it prints nothing (Escape, Delete) or when it is in the box's allowed set; any other typed
// character is swallowed without a sound, leaving a selection as it was. Pasted or dropped text
// loses the characters a keystroke could not have typed. Texts the program itself writes (the
// binding's refresh) are shown as they are.
#include <QString>

class QLineEdit;
class ModelBinding;

namespace numberFilter {

inline const QString numberCharacters = QStringLiteral("0123456789.,");
inline const QString digits = QStringLiteral("0123456789");

// Installs the filter on the box; it lives as long as the box.
void install(QLineEdit* box, const QString& allowed, const ModelBinding& binding);
// The same for a box no binding refreshes (a dialog's own boxes).
void install(QLineEdit* box, const QString& allowed);

// The text with every character a keystroke could not have typed removed.
QString keepTypable(const QString& text, const QString& allowed);

} // namespace numberFilter
