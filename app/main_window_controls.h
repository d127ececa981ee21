#pragma once

// The controls of the main window as its layout builds them (Ui::MainWindow).
// Code outside the app target includes this instead of the generated header.
#include "ui_main_window.h"
