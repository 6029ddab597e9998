#pragma once
// Resource identifiers shared by the resource script and the windows.
#define IDI_ORBIN 1
