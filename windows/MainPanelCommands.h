#pragma once
// The commands of the main panel's menus: "Данные " (save, print, PDF), "Система" (the eight
// systems) and "Размерность" (the display units). Each goes straight to the main window through
// DesktopHost; the main window adds the commands of its menu-less buttons itself.
#include "PanelCommands.h"

class DesktopHost;

void addMainPanelMenuCommands(PanelCommands& commands, DesktopHost& host);
