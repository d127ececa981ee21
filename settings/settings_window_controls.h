#pragma once

// The controls of the settings window as its layout builds them
// (Ui::SettingsWindow), for code and tests outside the settings target.
#include "ui_settings_window.h"
