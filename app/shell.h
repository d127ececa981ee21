#pragma once

namespace tunvell {

class MainWindow;

// The shell's handlers of the main window's own events.

// Created: the start-up sequence. A second instance ends here with its message.
void StartPlayer(MainWindow& window);
// Close requested: true when the close may go on (the window is then destroyed).
bool ConfirmClose(MainWindow& window);
// Menu "退出": stops and frees the audio without asking, then ends the window.
void ExitPlayer(MainWindow& window);
// About to be destroyed: closes the store, gives up the instance marker, stops
// the three timers.
void TearDownMainWindow(MainWindow& window);
// Moved (minimising included): a minimised window leaves the screen for the tray.
void HideIfMinimised(MainWindow& window);

}  // namespace tunvell
