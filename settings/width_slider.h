#pragma once

#include <QSlider>

namespace tunvell {

// The bar-width slider of the settings window. It remembers the width last set
// by the program, even outside its range, and reports that number until the
// user moves the thumb; from then on it reports the thumb's position. So a
// width from the file that the slider cannot show is saved back unchanged.
class WidthSlider : public QSlider {
    Q_OBJECT
public:
    static constexpr int LARGEST_REMEMBERED = 32767;

    explicit WidthSlider(QWidget* parent = nullptr);

    // Remembers `width` (limited to 0..32767) and puts the thumb there, within
    // the slider's range. Raises no report.
    void SetRememberedWidth(int width);
    // The remembered width, or the thumb's position once the user moved it.
    int Width() const;

Q_SIGNALS:
    // The user moved the thumb (dragging, clicking, keys or wheel).
    void movedByUser(int position);

private:
    void OnAction();

    int remembered_ = 0;
    bool movedByUser_ = false;
};

}  // namespace tunvell
