// The type-information tree's property page: one empty "General" page.
#pragma once

#include "ZuModule.h"

class CZuTreeEnumPropPage : public zu::CZuPropertyPage {
    Q_OBJECT
  public:
    explicit CZuTreeEnumPropPage(QWidget* parent = nullptr);
    static const ZuGUID clsid;
};
