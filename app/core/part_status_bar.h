#pragma once

#include <QStringList>
#include <QVector>
#include <QWidget>

namespace tunvell {

// A status bar divided into parts of fixed widths, each with its own text. The
// part's right edge is the running sum of the widths; what passes the bar's own
// width is clipped. Serves the main, scan and settings windows.
class PartStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit PartStatusBar(QWidget* parent = nullptr);

    void SetPartWidths(const QVector<int>& widths);
    int PartCount() const { return static_cast<int>(widths_.size()); }
    QVector<int> PartWidths() const { return widths_; }

    // Writing a part that does not exist does nothing.
    void SetPartText(int part, const QString& text);
    QString PartText(int part) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVector<int> widths_;
    QStringList texts_;
};

}  // namespace tunvell
