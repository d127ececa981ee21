#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

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

// 44.1 kHz stereo 16-bit: bytes per second of the tone fixtures.
inline constexpr qint64 CD_BYTES_PER_SECOND = 176400;
inline constexpr qint64 TONE_LENGTH_BYTES = 3 * CD_BYTES_PER_SECOND;

}  // namespace tunvell::testing
