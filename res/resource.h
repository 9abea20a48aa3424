#pragma once

// Resource and control ids, shared by Morvane.rc and the C++ code.

#define IDD_ABOUT 100
#define IDR_APP 128
#define IDD_MAIN 129

#define IDC_PROMPT 1000
#define IDC_LOG_LABEL 1001
#define IDC_LOG 1002

#define ID_APP_ABOUT 57664
