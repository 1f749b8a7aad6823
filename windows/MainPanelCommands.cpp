#include "MainPanelCommands.h"

#include "DesktopHost.h"
#include "system_kinds.h"

namespace {

// The "Размерность" menu (button 5): per quantity its item and the captions of its two units.
struct UnitChoice {
    int menuItem;
    const char* units[2];
};
constexpr UnitChoice unitChoices[] = {{1, {"Гкал/ч", "кВт"}}, {2, {"м3/ч", "л/с"}}, {3, {"кПа", "атм"}}};

} // namespace

void addMainPanelMenuCommands(PanelCommands& commands, DesktopHost& host) {
    DesktopHost* h = &host;
    commands.add(QStringLiteral("2.1"), QStringLiteral("Сохранить"), [h] { h->save(); });
    commands.add(QStringLiteral("2.2"), QStringLiteral("Печать"), [h] { h->print(); });
    commands.add(QStringLiteral("2.3"), QStringLiteral("Сохранить PDF"), [h] { h->savePdf(); });
    for (const kalvar::SystemDescription& system : kalvar::systemDescriptions()) {
        const int kind = system.kind;
        commands.add(QStringLiteral("3.%1").arg(system.panelItem), QString::fromUtf8(system.panelCaption),
                     [h, kind] { h->selectSystem(kind); });
    }
    for (const UnitChoice& choice : unitChoices)
        for (int s = 0; s < 2; ++s) {
            const QString unit = QString::fromUtf8(choice.units[s]);
            commands.add(QStringLiteral("5.%1.%2").arg(choice.menuItem).arg(s + 1), unit,
                         [h, unit] { h->switchUnit(unit); });
        }
}
