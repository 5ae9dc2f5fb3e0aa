#pragma once

#include "AfxRes.h"

// The program's own resource and command ids.
constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_TavikTYPE = 129;
constexpr UINT ID_SHOW_SETTINGS = 32772;
constexpr UINT ID_FILE_NEW_SEQUENCE = 32773;

// Fills the program's resources: menus, accelerators, toolbar, strings, icons.
void LoadTavikResources();
