#pragma once

#include <QObject>
#include <QTimer>

namespace tunvell {

// A window timer driven by its period in milliseconds: 0 stops it, anything
// else (re)starts it. The handler is connected to `ticked`; tests call the
// handler directly instead of waiting.
class PeriodTimer : public QObject {
    Q_OBJECT
public:
    explicit PeriodTimer(QObject* parent = nullptr);

    void SetPeriod(int milliseconds);
    int Period() const;  // 0 while stopped

Q_SIGNALS:
    void ticked();

private:
    QTimer timer_;
};

}  // namespace tunvell
