#include "SystemExchangers.h"

#include "system_kinds.h"

SystemExchangers systemExchangers(int systemKind) {
    const kalvar::SystemDescription* system = kalvar::findSystem(systemKind);
    if (!system) return {true, true, true};
    return {system->shows(kalvar::WindowId::Form3), system->shows(kalvar::WindowId::Form2),
            system->shows(kalvar::WindowId::Form1)};
}
