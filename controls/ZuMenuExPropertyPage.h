// The menu button's property page: one empty "General" page.
#pragma once

#include "ZuModule.h"

class CZuMenuExPropPage : public zu::CZuPropertyPage {
    Q_OBJECT
  public:
    explicit CZuMenuExPropPage(QWidget* parent = nullptr);
    static const ZuGUID clsid;
};
