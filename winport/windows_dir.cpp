// The "Windows folder": where the data source manager is looked for.
#include "winport.h"

WINPORT_API UINT GetWindowsDirectoryA(LPSTR, UINT) { return 0; }
