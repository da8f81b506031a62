// Numbers of the pre-checker's resources.
#pragma once

constexpr unsigned IDD_INSTALL_DIALOG = 102;
constexpr unsigned IDD_NO_SLIP = 129;
constexpr unsigned IDD_NO_BROWSER_WARN = 132;
constexpr int IDB_LOGO = 134;

constexpr unsigned IDS_CAPTION = 1;
constexpr unsigned IDS_NOT_WINDOWS_95 = 2;
constexpr unsigned IDS_NO_DIAL_UP = 3;
constexpr unsigned IDS_SETUP_FILE_NOT_FOUND = 4;
constexpr unsigned IDS_SETUP_PATH_NOT_FOUND = 5;
constexpr unsigned IDS_CANNOT_CHECK_DIAL_UP = 6;
