#pragma once
// A session's windows and state copied into another session, for a calculation that must leave the
// original as it is. The windows cannot be copied whole: their lists' change handlers and Form12's
// loader hold references to the session that installed them.
#include "startup.h"

namespace kalvar {

// Makes `to`, a session started up by startUp, show and hold what `from` does: every control's text,
// items, selection, check value, visibility, enabling and colours, the windows' own fields, the
// units and the calculation state (its current window mapped to `to`'s). No list handler runs;
// `to`'s Form12 is loaded first when `from`'s is.
void copySession(const Session& from, Session& to);

} // namespace kalvar
