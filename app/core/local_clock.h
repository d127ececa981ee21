#pragma once

#include <QTime>

namespace tunvell {

// The local time of day, behind a seam so that tests can fix it.
class LocalClock {
public:
    virtual ~LocalClock() = default;
    virtual QTime Now() const = 0;
};

class SystemClock final : public LocalClock {
public:
    QTime Now() const override;
};

}  // namespace tunvell
