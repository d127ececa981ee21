// bench_engine [seconds-of-playback]
//
// Makes a 3-minute 44.1 kHz stereo MP3 in a temporary folder (sox and lame),
// then prints:
//  1. decode speed (x realtime) of the engine's decoder (opening included,
//     with its scan for the exact length), alone and with the conversion to
//     the device format, beside `mpg123 -t` on the same file;
//  2. the process CPU time per minute of playback while a 30 ms timer asks for
//     the FFT and the position, beside the same process with the device open
//     and the timer running but no song.
// Plays through SDL's dummy driver unless SDL_AUDIODRIVER says otherwise.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "playback/engine.h"
#include "playback/engine/mpg123_decoder.h"
#include "playback/engine/sample_converter.h"

namespace {

using tunvell::engine::Mpg123Decoder;

constexpr double SONG_SECONDS = 180.0;
constexpr int REPEATS = 5;

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Something like music for the encoder: two drifting tones over pink noise.
bool MakeSong(const QString& wav, const QString& mp3) {
    return Run(QStringLiteral("sox"),
               {QStringLiteral("-R"), QStringLiteral("-n"), QStringLiteral("-r"),
                QStringLiteral("44100"), QStringLiteral("-c"), QStringLiteral("2"),
                QStringLiteral("-b"), QStringLiteral("16"), wav, QStringLiteral("synth"),
                QString::number(SONG_SECONDS), QStringLiteral("pinknoise"), QStringLiteral("sine"),
                QStringLiteral("220-880"), QStringLiteral("sine"), QStringLiteral("1500-300"),
                QStringLiteral("gain"), QStringLiteral("-12")}) &&
           Run(QStringLiteral("lame"),
               {QStringLiteral("--quiet"), QStringLiteral("-V2"), wav, mp3});
}

// Best wall time of a few runs, in seconds.
template <typename Work>
double BestSeconds(Work work) {
    double best = 1e9;
    for (int i = 0; i < REPEATS; ++i) {
        QElapsedTimer watch;
        watch.start();
        if (!work()) {
            return -1;
        }
        best = std::min(best, watch.nsecsElapsed() / 1e9);
    }
    return best;
}

bool DecodeOnly(const QString& path) {
    const auto decoder = Mpg123Decoder::Open(path);
    if (!decoder) {
        return false;
    }
    std::vector<std::int16_t> buffer(4096 * static_cast<size_t>(decoder->Channels()));
    while (!decoder->Read(buffer).end) {
    }
    return true;
}

bool DecodeAndConvert(const QString& path) {
    const auto decoder = Mpg123Decoder::Open(path);
    const tunvell::engine::DeviceFormat device;
    const auto converter = decoder ? tunvell::engine::SampleConverter::Create(
                                         decoder->Rate(), decoder->Channels(), device)
                                   : nullptr;
    if (!converter) {
        return false;
    }
    std::vector<std::int16_t> buffer(4096 * static_cast<size_t>(decoder->Channels()));
    std::vector<float> out(4096 * 2);
    for (;;) {
        const Mpg123Decoder::ReadResult result = decoder->Read(buffer);
        converter->Put(
            std::span(buffer).first(static_cast<size_t>(result.frames * decoder->Channels())));
        while (converter->Get(out) > 0) {
        }
        if (result.end) {
            return true;
        }
    }
}

// CPU seconds per minute of wall time while the event loop runs for `seconds`
// with a 30 ms poll of the FFT and position of `handle`.
double CpuPerMinute(tunvell::AudioOutput& audio, tunvell::StreamHandle handle, int seconds) {
    std::array<float, tunvell::FFT_MAGNITUDE_COUNT> magnitudes{};
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        audio.ChannelGetData(handle, magnitudes);
        audio.ChannelGetPosition(handle);
        audio.ChannelIsActive(handle);
    });
    poll.start(30);
    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer watch;
    watch.start();
    QTimer::singleShot(seconds * 1000, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    const double wall = watch.nsecsElapsed() / 1e9;
    return (ProcessCpuSeconds() - cpuBefore) * 60.0 / wall;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) {
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    const int playSeconds = argc > 1 ? std::max(5, atoi(argv[1])) : 30;

    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("song.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("song.mp3"));
    std::printf("Making a %.0f s 44.1 kHz stereo VBR MP3 with sox and lame...\n", SONG_SECONDS);
    std::fflush(stdout);
    if (!MakeSong(wav, mp3)) {
        std::fprintf(stderr, "sox or lame failed\n");
        return 1;
    }
    QFile::remove(wav);

    std::printf("\nDecode speed, best of %d (x realtime, higher is faster):\n", REPEATS);
    const double ours = BestSeconds([&] { return DecodeOnly(mp3); });
    const double oursConverted = BestSeconds([&] { return DecodeAndConvert(mp3); });
    const double reference = BestSeconds([&] {
        return Run(QStringLiteral("mpg123"), {QStringLiteral("-q"), QStringLiteral("-t"), mp3});
    });
    std::printf("  mpg123 -t (reference)            %7.1f x\n", SONG_SECONDS / reference);
    std::printf("  engine decoder, with length scan %7.1f x  (%+.1f%% against mpg123)\n",
                SONG_SECONDS / ours, (reference / ours - 1.0) * 100.0);
    std::printf("  engine decoder + device format   %7.1f x\n", SONG_SECONDS / oursConverted);

    const std::unique_ptr<tunvell::AudioOutput> audio = tunvell::MakeAudioEngine();
    if (!audio->Init()) {
        std::fprintf(stderr, "no audio device (SDL_AUDIODRIVER=%s)\n",
                     qgetenv("SDL_AUDIODRIVER").constData());
        return 1;
    }
    std::printf("\nProcess CPU per minute, %d s each, driver %s, 30 ms FFT poll:\n", playSeconds,
                qgetenv("SDL_AUDIODRIVER").constData());
    const double idle = CpuPerMinute(*audio, 0, playSeconds);
    const tunvell::StreamHandle song = audio->StreamCreateFile(mp3);
    audio->ChannelPlay(song, false);
    const double playing = CpuPerMinute(*audio, song, playSeconds);
    const bool stillPlaying = audio->ChannelIsActive(song) == tunvell::ACTIVE_PLAYING;
    std::printf("  device open, no song (reference) %7.3f s  = %5.2f%% of a core\n", idle,
                idle / 60.0 * 100.0);
    std::printf("  playing the song                 %7.3f s  = %5.2f%% of a core%s\n", playing,
                playing / 60.0 * 100.0, stillPlaying ? "" : "  (song ended early!)");
    return 0;
}
