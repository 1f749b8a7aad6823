#pragma once
// The commercial data of one export, as the delivery-terms dialog holds it: the object name
// and, per kind of exchanger, the price without VAT, the terms of delivery and notes.
#include <string>

namespace kalvar {

struct TermsColumn {
    std::string price; // "Цена без НДС:"
    std::string terms; // "Условия для поставки:"
    std::string notes; // "Примечания:"
};

struct DeliveryTerms {
    std::string objectName;
    // The dialog's designed texts; the line breaks are CR LF.
    TermsColumn hotWater{"", "EXW-Минск, 3-5 дней с \r\nмомента оплаты.\r\n", ""};
    TermsColumn heating{"", "EXW-Минск, 3-5 дней с \r\nмомента оплаты.\r\n", ""};
    TermsColumn ventilation{"", "EXW-Минск, 3-5 дней с момента оплаты.\r\n", ""};
    // "добавить лист «Варианты»": the report gains the variants sheet after the descriptions.
    bool variantsSheet = false;
};

} // namespace kalvar
