#pragma once

#define IDS_PRINTER_COMMENT 101

// The PostScript printer description of the fax printer's driver.
#define IDR_DRIVER_DATA 201
