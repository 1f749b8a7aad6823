// The script editor's property page: one empty "General" page.
#pragma once

#include "ZuModule.h"

class CZuRichTextPropPage : public zu::CZuPropertyPage {
    Q_OBJECT
  public:
    explicit CZuRichTextPropPage(QWidget* parent = nullptr);
    static const ZuGUID clsid;
};
