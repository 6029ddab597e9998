#pragma once
// Resource identifiers shared by the resource script and the windows.
#define IDI_ORBIN 1
#define IDI_MEMFRM 2  // the status monitor window and its tray icon
