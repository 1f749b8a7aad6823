#pragma once
// The supplier details that head every report sheet, and the plate-series prefix, as the
// owner-details workbook gives them or as built in.
#include <string>

namespace kalvar {

struct OwnerDetails {
    std::string ownerName = "ООО «Пример-Теплообмен»";
    std::string ownerAddress = "220000, г. Примерск, ул. Образцовая, д. 1, офис 10";
    std::string ownerPhone = "(000) 000-00-00";
    std::string ownerSite = "www.example.com";
    std::string ownerEmail = "info@example.com";
    std::string seriesPrefix = "КM"; // Cyrillic К, Latin M
};

} // namespace kalvar
