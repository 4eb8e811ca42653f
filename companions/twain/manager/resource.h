#pragma once

#define IDD_SELECT_SOURCE 100

#define IDC_SOURCE_LIST 1000
