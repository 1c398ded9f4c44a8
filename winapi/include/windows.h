// The Win32 API as the program sees it on hosts without Windows: our own declarations.
#pragma once

#include "windef.h"
#include "winbase.h"
#include "wingdi.h"
#include "winuser.h"
