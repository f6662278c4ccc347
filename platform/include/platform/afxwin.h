// The framework as the program and the library include it, over either window system.
#pragma once

#include "platform/cdc.h"
#include "platform/cdialog.h"
#include "platform/cedit.h"
#include "platform/clistbox.h"
#include "platform/cmenu.h"
#include "platform/cstring.h"
#include "platform/cwinapp.h"
#include "platform/cwnd.h"
#include "platform/extension.h"
#include "platform/ime.h"
#include "platform/mbstring.h"
#include "platform/messagebox.h"
#include "platform/resource_registry.h"
#include "platform/wintypes.h"
