// Ids of the program's resources and dialog controls, shared by the
// resource script, the program and the end-to-end tests.
#pragma once

#define IDI_APPLICATION_ICON 101

#define IDD_PASSWORD 101
#define IDC_PASSWORD_EDIT 1000
#define IDC_SUICIDE 1002
#define IDC_PROMPT 1003
#define IDC_SAVE_PASSWORD 1004

#define IDD_ENCODER_INFO 102
#define IDC_INFO_TEXT 1004
#define IDC_SET_NAME 1005
#define IDC_NAME_EDIT 1006
