#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

class QDialog;

namespace tunvell {

// Waiting while window events run, behind a seam so that tests need no real
// time to pass.
class EventWaits {
public:
    virtual ~EventWaits() = default;

    // Lets events run for about `milliseconds`. Ends early once `window` has
    // been closed or destroyed; the caller must not assume it still exists.
    virtual void Wait(int milliseconds, QDialog& window) = 0;

    // Milliseconds on a clock that only moves forward, to bound retries.
    virtual qint64 Elapsed() const = 0;
};

class RealEventWaits final : public EventWaits {
public:
    RealEventWaits();
    void Wait(int milliseconds, QDialog& window) override;
    qint64 Elapsed() const override;

private:
    QElapsedTimer started_;
};

}  // namespace tunvell
