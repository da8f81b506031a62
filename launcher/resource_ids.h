// Numbers of the launcher's resources and controls.
#pragma once

constexpr unsigned IDD_LAUNCHER_DIALOG = 102;
constexpr unsigned IDD_DEVICE_URL = 131;
constexpr unsigned IDD_WAITING = 132;
constexpr unsigned IDD_CONNECT_FAILED = 133;
constexpr unsigned IDD_NO_BROWSER = 136;
constexpr int IDB_LOGO = 134;

// Main window
constexpr int IDC_URL_BUTTON = 1000;
constexpr int IDC_URL_LINE = 1002;
// Device URL dialog
constexpr int IDC_DEVICE_URL = 1000;
// Failure dialog
constexpr int IDC_HELP_BUTTON = 1004;

// String table
constexpr unsigned IDS_CAPTION = 1;
constexpr unsigned IDS_INVALID_URL = 2;
constexpr unsigned IDS_CONNECTION_IN_USE = 3;
