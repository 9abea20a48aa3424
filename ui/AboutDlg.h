#pragma once

// The About box: template IDD_ABOUT as it stands, at its own position over the owner.

#include "res/resource.h"
#include "ui/Dialog.h"

using CAboutDlg = CSimpleDialog<IDD_ABOUT, FALSE>;
