#pragma once
// Which exchangers a heat-supply system has, as the report dialogs offer them: a column of the
// delivery terms and a box of the print selection for each, enabled when the system shows its window.

struct SystemExchangers {
    bool hotWater;
    bool heating;
    bool ventilation;
};

// The exchangers of system `systemKind` 1..8; all three for a number that names no system.
SystemExchangers systemExchangers(int systemKind);
