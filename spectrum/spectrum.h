#pragma once

namespace tunvell {

class AudioOutput;
class SpectrumCanvas;
struct PlayerState;

// Creates the four zeroed spectrum arrays of the state record.
void AllocateSpectrumBuffers(PlayerState& state);

// One tick of 绘制时钟: reads the FFT of the current stream, updates levels and
// caps and draws the bars on the canvas. Without a stream, without the arrays or
// when the read fails, the canvas is only cleared and levels and caps are kept.
void DrawSpectrumFrame(PlayerState& state, AudioOutput& audio, SpectrumCanvas& canvas);

}  // namespace tunvell
