#pragma once

#include <memory>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

#include "playback/engine.h"

namespace tunvell::testing {

inline QString FixturePath(const QString& name) {
    return QDir(qEnvironmentVariable("TUNVELL_FIXTURES")).filePath(name);
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// Rows of a `path` column: files that hold no song, each of which must be
// refused.
inline void AddFilesThatAreNoSong() {
    QTest::newRow("missing file") << FixturePath(QStringLiteral("no_such_song.mp3"));
    QTest::newRow("directory") << FixturePath(QString());
    QTest::newRow("zero bytes") << FixturePath(QStringLiteral("empty.mp3"));
    QTest::newRow("text named .mp3") << FixturePath(QStringLiteral("not_audio.mp3"));
    QTest::newRow("random bytes") << FixturePath(QStringLiteral("random_bytes.mp3"));
    QTest::newRow("ID3 tag, no audio") << FixturePath(QStringLiteral("id3_only.mp3"));
}

// One engine for all the cases of a test class, since closing a device waits
// for SDL to drain it (a third of a second a case). Streams a case opens
// through Create are freed after it.
class SharedEngine {
public:
    bool Init() {
        if (!audio_) {
            audio_ = MakeAudioEngine();
        }
        return audio_->Init();
    }
    void FreeOpened() {
        for (const StreamHandle handle : opened_) {
            audio_->StreamFree(handle);
        }
        opened_.clear();
    }
    void Release() { audio_.reset(); }

    StreamHandle Create(const QString& path) {
        const StreamHandle handle = audio_->StreamCreateFile(path);
        if (handle != 0) {
            opened_.push_back(handle);
        }
        return handle;
    }
    AudioOutput* operator->() const { return audio_.get(); }
    AudioOutput& operator*() const { return *audio_; }

private:
    std::unique_ptr<AudioOutput> audio_;
    std::vector<StreamHandle> opened_;
};

// 44.1 kHz stereo 16-bit: bytes per second of the tone fixtures.
inline constexpr qint64 CD_BYTES_PER_SECOND = 176400;
inline constexpr qint64 TONE_LENGTH_BYTES = 3 * CD_BYTES_PER_SECOND;

}  // namespace tunvell::testing
