#pragma once

// The controls of the scan window as its layout builds them (Ui::ScanWindow).
// Code outside the scan target includes this instead of the generated header.
#include "ui_scan_window.h"
