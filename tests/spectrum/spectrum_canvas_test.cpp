// The canvas's own rules: where the interior sits, the three drawing calls
// with their excluded end points and clipping, the colours, and painting.
#include <climits>
#include <functional>

#include <QtTest>

#include "spectrum/picture_change.h"
#include "spectrum/spectrum_canvas.h"

namespace tunvell::testing {

using Drawing = std::function<void(SpectrumCanvas&)>;

}  // namespace tunvell::testing

Q_DECLARE_METATYPE(tunvell::testing::Drawing)

namespace tunvell::testing {
namespace {

constexpr ColorRef RED = 0x0000FF;  // 0x00BBGGRR
constexpr ColorRef BLUE = 0xFF0000;

// A picture of the interior: '#' pen, '.' background.
QImage FromArt(const QStringList& rows) {
    QImage image(static_cast<int>(rows.first().size()), static_cast<int>(rows.size()),
                 QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y,
                           rows[y][x] == QLatin1Char('#') ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        }
    }
    return image;
}

QStringList ToArt(const QImage& image) {
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x) {
            row += image.pixel(x, y) == qRgb(255, 0, 0) ? QLatin1Char('#') : QLatin1Char('.');
        }
        rows << row;
    }
    return rows;
}

}  // namespace

class SpectrumCanvasTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void interiorSitsInsideTheEdge();
    void drawing_data();
    void drawing();
    void colourReferencesAreRedLowest();
    void paintingCopiesTheInterior();
    void onlyAChangedPictureIsRepainted();
    void changedAreaBoundsEveryDifference_data();
    void changedAreaBoundsEveryDifference();
};

void SpectrumCanvasTest::interiorSitsInsideTheEdge() {
    // Never shown, as 画板1 is until a song starts; the timer still draws on it.
    SpectrumCanvas canvas;
    canvas.resize(204, 45);
    QCOMPARE(canvas.contentsRect(), QRect(1, 1, 202, 43));
    canvas.Clear();
    QCOMPARE(canvas.Interior().size(), QSize(202, 43));
    QCOMPARE(canvas.Interior().format(), QImage::Format_RGB32);

    canvas.resize(50, 20);
    canvas.Clear();
    QCOMPARE(canvas.Interior().size(), QSize(48, 18));
}

void SpectrumCanvasTest::drawing_data() {
    QTest::addColumn<Drawing>("draw");
    QTest::addColumn<QStringList>("expected");  // 10 x 8 interior

    const QStringList empty(8, QStringLiteral(".........."));
    QTest::newRow("outline over left..right-1, top..bottom-1")
        << Drawing([](SpectrumCanvas& c) { c.Rectangle(1, 1, 5, 4); })
        << QStringList{QStringLiteral(".........."), QStringLiteral(".####....."),
                       QStringLiteral(".#..#....."), QStringLiteral(".####....."),
                       QStringLiteral(".........."), QStringLiteral(".........."),
                       QStringLiteral(".........."), QStringLiteral("..........")};
    QTest::newRow("one column wide")
        << Drawing([](SpectrumCanvas& c) { c.Rectangle(2, 1, 3, 5); })
        << QStringList{QStringLiteral(".........."), QStringLiteral("..#......."),
                       QStringLiteral("..#......."), QStringLiteral("..#......."),
                       QStringLiteral("..#......."), QStringLiteral(".........."),
                       QStringLiteral(".........."), QStringLiteral("..........")};
    QTest::newRow("the inside keeps what was there") << Drawing([](SpectrumCanvas& c) {
        c.Line(0, 2, 10);
        c.Rectangle(1, 1, 6, 5);
    }) << QStringList{QStringLiteral(".........."), QStringLiteral(".#####...."),
                      QStringLiteral("##########"), QStringLiteral(".#...#...."),
                      QStringLiteral(".#####...."), QStringLiteral(".........."),
                      QStringLiteral(".........."), QStringLiteral("..........")};
    QTest::newRow("zero width") << Drawing([](SpectrumCanvas& c) { c.Rectangle(3, 1, 3, 6); })
                                << empty;
    QTest::newRow("zero height") << Drawing([](SpectrumCanvas& c) { c.Rectangle(1, 3, 6, 3); })
                                 << empty;
    QTest::newRow("inverted") << Drawing([](SpectrumCanvas& c) { c.Rectangle(6, 5, 2, 1); })
                              << empty;
    QTest::newRow("clipped to the interior")
        << Drawing([](SpectrumCanvas& c) { c.Rectangle(-2, -3, 3, 20); })
        << QStringList(8, QStringLiteral("..#......."));
    QTest::newRow("line stops before its end")
        << Drawing([](SpectrumCanvas& c) { c.Line(1, 2, 4); })
        << QStringList{QStringLiteral(".........."), QStringLiteral(".........."),
                       QStringLiteral(".###......"), QStringLiteral(".........."),
                       QStringLiteral(".........."), QStringLiteral(".........."),
                       QStringLiteral(".........."), QStringLiteral("..........")};
    QTest::newRow("zero-length line")
        << Drawing([](SpectrumCanvas& c) { c.Line(3, 2, 3); }) << empty;
    QTest::newRow("line drawn leftwards")
        << Drawing([](SpectrumCanvas& c) { c.Line(5, 4, 2); })
        << QStringList{QStringLiteral(".........."), QStringLiteral(".........."),
                       QStringLiteral(".........."), QStringLiteral(".........."),
                       QStringLiteral("...###...."), QStringLiteral(".........."),
                       QStringLiteral(".........."), QStringLiteral("..........")};
    QTest::newRow("lines clipped at both sides, above and below") << Drawing([](SpectrumCanvas& c) {
        c.Line(-5, 0, 2);
        c.Line(8, 7, 30);
        c.Line(0, -1, 10);
        c.Line(0, 8, 10);
    }) << QStringList{QStringLiteral("##........"), QStringLiteral(".........."),
                      QStringLiteral(".........."), QStringLiteral(".........."),
                      QStringLiteral(".........."), QStringLiteral(".........."),
                      QStringLiteral(".........."), QStringLiteral("........##")};
    QTest::newRow("extreme coordinates") << Drawing([](SpectrumCanvas& c) {
        c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        c.Line(INT_MIN, 1, INT_MAX);
        c.Line(INT_MAX, 3, INT_MIN);
    }) << QStringList{QStringLiteral(".........."), QStringLiteral("##########"),
                      QStringLiteral(".........."), QStringLiteral("##########"),
                      QStringLiteral(".........."), QStringLiteral(".........."),
                      QStringLiteral(".........."), QStringLiteral("..........")};
}

void SpectrumCanvasTest::drawing() {
    QFETCH(Drawing, draw);
    QFETCH(QStringList, expected);
    SpectrumCanvas canvas;
    canvas.resize(12, 10);
    canvas.SetPenColor(RED);
    canvas.SetBackgroundColor(BLUE);
    canvas.Clear();
    draw(canvas);
    QCOMPARE(ToArt(canvas.Interior()), expected);
    QCOMPARE(canvas.Interior(), FromArt(expected));
}

void SpectrumCanvasTest::colourReferencesAreRedLowest() {
    SpectrumCanvas canvas;
    canvas.resize(12, 10);
    canvas.Clear();
    canvas.Line(0, 0, 1);
    // The defaults: white on 12295509 = 0xBB9D55, a greyish blue.
    QCOMPARE(canvas.Interior().pixel(0, 0), qRgb(255, 255, 255));
    QCOMPARE(canvas.Interior().pixel(1, 0), qRgb(0x55, 0x9D, 0xBB));

    canvas.SetPenColor(0x336699);
    canvas.SetBackgroundColor(0x0A141E);
    canvas.Clear();
    canvas.Line(0, 0, 1);
    QCOMPARE(canvas.Interior().pixel(0, 0), qRgb(0x99, 0x66, 0x33));
    QCOMPARE(canvas.Interior().pixel(1, 0), qRgb(0x1E, 0x14, 0x0A));
}

void SpectrumCanvasTest::paintingCopiesTheInterior() {
    SpectrumCanvas canvas;
    canvas.resize(204, 45);
    canvas.Clear();
    canvas.Rectangle(0, 10, 7, 60);
    canvas.Line(0, 8, 7);
    const QImage shown = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(204, 45));
    QCOMPARE(shown.copy(1, 1, 202, 43), canvas.Interior());
    // A sunken edge: shaded on the top left, lit on the bottom right.
    const QRgb shade = shown.pixel(0, 0);
    const QRgb light = shown.pixel(203, 44);
    QVERIFY(shade != light);
    QVERIFY(shade != canvas.Interior().pixel(100, 20));
    QCOMPARE(shown.pixel(100, 0), shade);
    QCOMPARE(shown.pixel(0, 20), shade);
    QCOMPARE(shown.pixel(100, 44), light);
    QCOMPARE(shown.pixel(203, 20), light);
}

void SpectrumCanvasTest::onlyAChangedPictureIsRepainted() {
    // Records the paint events the canvas receives.
    struct PaintCounter : QObject {
        QList<QRect> painted;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                painted << static_cast<QPaintEvent*>(event)->rect();
            }
            return false;
        }
    } counter;
    SpectrumCanvas canvas;
    canvas.resize(204, 45);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    canvas.installEventFilter(&counter);

    canvas.Clear();
    canvas.Line(0, 8, 7);
    canvas.Present();
    QCOMPARE(counter.painted.size(), 1);
    // The same picture again, as in silence or while paused: nothing to paint.
    canvas.Clear();
    canvas.Line(0, 8, 7);
    canvas.Present();
    QCOMPARE(counter.painted.size(), 1);
    // Only the new line is painted, in widget coordinates: inside the edge.
    canvas.Line(2, 9, 7);
    canvas.Present();
    QCOMPARE(counter.painted, (QList<QRect>{counter.painted.first(), QRect(3, 10, 5, 1)}));
}

void SpectrumCanvasTest::changedAreaBoundsEveryDifference_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QRect>("expected");

    const QStringList blank(4, QStringLiteral("......."));
    QTest::newRow("alike") << blank << blank << QRect();
    QTest::newRow("one pixel") << blank
                               << QStringList{u"......."_qs, u"..#...."_qs, u"......."_qs,
                                              u"......."_qs}
                               << QRect(2, 1, 1, 1);
    QTest::newRow("opposite corners")
        << blank << QStringList{u"#......"_qs, u"......."_qs, u"......."_qs, u"......#"_qs}
        << QRect(0, 0, 7, 4);
    // The columns come from every changed row, not from the first or last one.
    QTest::newRow("widest row in the middle")
        << blank << QStringList{u"...#..."_qs, u"#.....#"_qs, u"..#...."_qs, u"......."_qs}
        << QRect(0, 0, 7, 3);
    QTest::newRow("narrow row inside a wide one")
        << blank << QStringList{u"......."_qs, u".####.."_qs, u"..#...."_qs, u"......."_qs}
        << QRect(1, 1, 4, 2);
    QTest::newRow("a pixel cleared")
        << QStringList{u"......."_qs, u"......."_qs, u"....#.."_qs, u"......."_qs} << blank
        << QRect(4, 2, 1, 1);
    QTest::newRow("other size") << blank << QStringList{u"....."_qs, u"....."_qs}
                                << QRect(0, 0, 5, 2);
}

void SpectrumCanvasTest::changedAreaBoundsEveryDifference() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QRect, expected);

    QCOMPARE(ChangedArea(FromArt(before), FromArt(after)), expected);
}

}  // namespace tunvell::testing

QTEST_MAIN(tunvell::testing::SpectrumCanvasTest)
#include "spectrum_canvas_test.moc"
