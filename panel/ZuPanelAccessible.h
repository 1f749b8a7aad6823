// Assistive technology sees a panel as a tool bar whose children are its visible buttons: name the
// caption, description the tool tip, a push button or a button with a menu, pressed by the press action.
#pragma once

// Registers the panel's accessibility interfaces with Qt; repeated calls do nothing.
void installZuPanelAccessibility();
