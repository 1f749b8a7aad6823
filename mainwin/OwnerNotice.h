#pragma once
// The program's owner as the about box and the web-site command name it. Every name, address and
// number here is fictional; the web and mail addresses are under a reserved example domain.
#include <QString>

namespace mainwin {

// The owner's web site without the scheme, as the owner-details workbook gives it.
inline const QString defaultOwnerSite = QStringLiteral("www.varimex.example");

inline const QString aboutTitle = QStringLiteral("О программе");

inline QString aboutText(const QString& ownerSite) {
    return QStringLiteral("Пластинчатый теплообменник\n"
                          "Подбор и расчет пластинчатых теплообменников для тепловых пунктов.\n\n"
                          "Программа принадлежит ООО \"Варимекс\". Все права на программу защищены; "
                          "ее копирование и распространение без согласия владельца не допускаются.\n\n"
                          "ООО \"Варимекс\"\n"
                          "Адрес: 000000, г. Образцовск, ул. Вымышленная, д. 1\n"
                          "Тел./Факс: +7 (000) 000-00-00\n"
                          "Сайт: %1\n"
                          "E-mail: info@varimex.example\n\n"
                          "Программу написала группа инженеров-теплотехников ООО \"Варимекс\". "
                          "Замечания и предложения о ее работе мы примем с благодарностью.")
        .arg(ownerSite);
}

} // namespace mainwin
