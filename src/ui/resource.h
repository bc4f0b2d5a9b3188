// Resource and control ids of the program.
#pragma once

// Dialog templates, strings and the icon.
constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDS_ABOUTBOX = 101;
constexpr unsigned IDD_QUORVEL_DIALOG = 102;
constexpr unsigned IDP_SOCKETS_INIT_FAILED = 103;
constexpr unsigned IDD_USERNAMEPW = 104;
constexpr unsigned IDD_DEVID = 105;
constexpr unsigned IDR_MAINFRAME = 128;

// The About entry of the system menu. System commands keep their low four bits for the
// window system, so the entry is recognised by the rest.
constexpr unsigned IDM_ABOUTBOX = 0x0010;

// Main dialog (template 102).
constexpr int IDC_SEARCH = 1000;
constexpr int IDC_LIST = 1002;
constexpr int IDC_NAME1 = 1003;  // row r: IDC_NAME1 + 5r .. IDC_AUTO1 + 5r
constexpr int IDC_IP1 = 1004;
constexpr int IDC_MASK1 = 1005;
constexpr int IDC_GATEWAY1 = 1006;
constexpr int IDC_AUTO1 = 1007;
constexpr int IDC_ROW_STRIDE = 5;
constexpr int IDC_DNS1 = 1018;
constexpr int IDC_DNS2 = 1019;
constexpr int IDC_DNS_AUTO = 1020;
constexpr int IDC_MODIFY = 1023;
constexpr int IDC_REBOOT = 1024;

// Credential dialog (template 104).
constexpr int IDC_USERNAME = 1024;
constexpr int IDC_PASSWORD = 1025;
constexpr int IDC_SHOW_PASSWORD = 1026;

// Device-ID dialog (template 105).
constexpr int IDC_DEVID = 1027;

// Controls nothing addresses.
constexpr int IDC_STATIC = -1;
