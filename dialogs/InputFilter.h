#pragma once
// The keystroke filter of the dialogs' number boxes: a typed character passes when its code is 26
// or less (backspace, enter and the other control keys) or when it is one of the allowed
// characters; any other typed character is swallowed without a sound. Keys that type nothing
// (Escape, Delete) pass. Text that arrives by pasting or dropping loses the characters a keystroke
// could not have typed.
#include <QLineEdit>
#include <QString>

namespace kalvar::dialogs {

// The characters of a number as the calculation reads it: digits and either decimal separator.
inline const QString numberCharacters = QStringLiteral("0123456789.,");

// Installs the filter on the box; it lives as long as the box.
void filterInput(QLineEdit* box, const QString& allowed = numberCharacters);

} // namespace kalvar::dialogs
