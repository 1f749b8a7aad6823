#include "ZuRichTextPropertyPage.h"

const ZuGUID CZuRichTextPropPage::clsid = {
    0xEDE96664, 0x59B7, 0x4ECC, {0x99, 0x95, 0x48, 0x99, 0x1D, 0x66, 0xAC, 0x06}};

CZuRichTextPropPage::CZuRichTextPropPage(QWidget* parent) : zu::CZuPropertyPage(clsid, parent) {}

namespace {
const zu::ClassRegistration registration(CZuRichTextPropPage::clsid, [](QWidget* parent) -> QWidget* {
    return new CZuRichTextPropPage(parent);
});
}
