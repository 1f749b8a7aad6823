#include "ZuTreeEnumPropertyPage.h"

const ZuGUID CZuTreeEnumPropPage::clsid = {
    0x9619E6E3, 0x07C1, 0x4252, {0xA1, 0x44, 0x47, 0x73, 0xF7, 0xE3, 0xC8, 0xD1}};

CZuTreeEnumPropPage::CZuTreeEnumPropPage(QWidget* parent) : zu::CZuPropertyPage(clsid, parent) {}

namespace {
const zu::ClassRegistration registration(CZuTreeEnumPropPage::clsid, [](QWidget* parent) -> QWidget* {
    return new CZuTreeEnumPropPage(parent);
});
}
