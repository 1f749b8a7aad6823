#include "ZuMenuExPropertyPage.h"

const ZuGUID CZuMenuExPropPage::clsid = {
    0xC8A4C5AB, 0x49AF, 0x4DBF, {0x89, 0x44, 0xDB, 0xF8, 0xAD, 0xB5, 0xF3, 0xBE}};

CZuMenuExPropPage::CZuMenuExPropPage(QWidget* parent) : zu::CZuPropertyPage(clsid, parent) {}

namespace {
const zu::ClassRegistration registration(CZuMenuExPropPage::clsid, [](QWidget* parent) -> QWidget* {
    return new CZuMenuExPropPage(parent);
});
}
