#pragma once

namespace tunvell {

class LocalClock;
class PartStatusBar;

// Writes " 现在时间 hh:mm:ss" (local time) into part 0 of the status bar.
void ClockTick(PartStatusBar& statusBar, const LocalClock& clock);

}  // namespace tunvell
