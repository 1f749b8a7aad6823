#include "SystemExchangers.h"

#include "system_kinds.h"

SystemExchangers systemExchangers(int systemKind) {
    const kalvar::SystemDescription* system = kalvar::findSystem(systemKind);
    if (!system) return {true, true, true};
    return {system->shows(kalvar::WindowId::HotWater), system->shows(kalvar::WindowId::Heating),
            system->shows(kalvar::WindowId::Ventilation)};
}
