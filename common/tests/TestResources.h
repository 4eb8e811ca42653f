#pragma once

// Resources of the common tests beside the shared address book ones.
#define IDD_TEST_BOOK 900
#define IDC_TEST_LIST 1001
#define IDS_TEST_OVERFLOW 170
#define IDS_TEST_REPLACE 171
