#pragma once
// The about box: the ownership notice, the owner's contact details (from the site's owner
// workbook, or the built-in ones, which are fictional) and the authors' note.
#include <QString>

#include "OwnerDetails.h"

namespace mainwin {

inline const QString aboutTitle = QStringLiteral("О программе");

inline QString aboutText(const kalvar::OwnerDetails& owner) {
    const auto q = [](const std::string& text) { return QString::fromStdString(text); };
    return QStringLiteral("Пластинчатый теплообменник\n"
                          "Подбор и расчет пластинчатых теплообменников для тепловых пунктов.\n\n"
                          "Программа принадлежит %1. Все права на программу защищены; ее копирование и "
                          "распространение без согласия владельца не допускаются.\n\n"
                          "%1\n"
                          "Адрес: %2\n"
                          "Тел./Факс: %3\n"
                          "Сайт: %4\n"
                          "E-mail: %5\n\n"
                          "Программу написала группа инженеров-теплотехников по заказу владельца. "
                          "Замечания и предложения о ее работе примем с благодарностью.")
        .arg(q(owner.ownerName), q(owner.ownerAddress), q(owner.ownerPhone), q(owner.ownerSite),
             q(owner.ownerEmail));
}

} // namespace mainwin
