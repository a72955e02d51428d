#include "editor/csplitter.h"

#include <QtTest>

using namespace calvenor;

// The bar between tree and list, in twips: where it stands after creation, a direction
// switch, a resize and a drag.
class TestSplitter : public QObject
{
    Q_OBJECT
private slots:
    void creationAndResize_data();
    void creationAndResize();
    void dragging();
    void layoutFillsTheContainer();
};

void TestSplitter::creationAndResize_data()
{
    QTest::addColumn<int>("firstDirection");
    QTest::addColumn<int>("secondDirection");   // 0: created once only
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("created");   // bar after the (last) creation
    QTest::addColumn<int>("resized");   // bar after the container is resized to height x width again

    QTest::newRow("first creation keeps a position beyond the container, the resize moves it in")
        << 1 << 0 << 12000 << 6000 << 9000 << 12000 << 8910;
    QTest::newRow("inside the container nothing moves") << 1 << 0 << 4000 << 6000 << 9000 << 4000 << 4000;
    QTest::newRow("a narrow container leaves the bar") << 1 << 0 << 4000 << 6000 << 1800 << 4000 << 4000;
    QTest::newRow("switch to stacked with a position beyond the height goes to the middle")
        << 1 << 2 << 7000 << 6000 << 9000 << 3000 << 3000;
    QTest::newRow("switch to stacked within the height keeps it") << 1 << 2 << 5000 << 6000 << 9000 << 5000 << 5000;
    QTest::newRow("switch back to side by side") << 2 << 1 << 9000 << 6000 << 9000 << 4500 << 4500;
}

void TestSplitter::creationAndResize()
{
    QFETCH(int, firstDirection);
    QFETCH(int, secondDirection);
    QFETCH(int, start);
    QFETCH(int, height);
    QFETCH(int, width);
    QFETCH(int, created);
    QFETCH(int, resized);
    cSplitter splitter;
    splitter.Resize(height, width);
    splitter.CreateSplitter(firstDirection, start, 45);
    if (secondDirection != 0)
        splitter.CreateSplitter(secondDirection, start, 45);
    QCOMPARE(splitter.barPosition(), created);
    QCOMPARE(splitter.SplitPosition(), created);
    splitter.Resize(height, width);
    QCOMPARE(splitter.barPosition(), resized);
}

void TestSplitter::dragging()
{
    cSplitter splitter;
    splitter.Resize(6000, 9000);
    splitter.CreateSplitter(cSplitter::SideBySide, 3000, 45);
    // Only the left button drags.
    splitter.PressBar(3010, 100, false);
    QVERIFY(!splitter.isDragging());
    splitter.PressBar(3010, 100, true);
    QVERIFY(splitter.MoveBar(3510, 4000, true));   // travel across the bar only counts
    QCOMPARE(splitter.barPosition(), 3500);
    QCOMPARE(splitter.SplitPosition(), 3000);     // kept until the release
    // Within 30 of the near edge, or past the far one, the bar stays.
    QVERIFY(!splitter.MoveBar(3010 - 2980, 100, true));
    QVERIFY(!splitter.MoveBar(3010 + 6000, 100, true));
    QCOMPARE(splitter.barPosition(), 3500);
    splitter.MinLeftPanelWidth = 600;
    QVERIFY(!splitter.MoveBar(3010 - 2400, 100, true));
    QVERIFY(splitter.MoveBar(3010 - 2300, 100, true));
    splitter.ReleaseBar();
    QCOMPARE(splitter.SplitPosition(), 700);
    QVERIFY(!splitter.MoveBar(5000, 100, true));   // no drag after the release
}

void TestSplitter::layoutFillsTheContainer()
{
    cSplitter splitter;
    splitter.Resize(6000, 9000);
    splitter.CreateSplitter(cSplitter::SideBySide, 3000, 45);
    cSplitter::Layout side = splitter.layout();
    QCOMPARE(side.pane1, QRect(0, 0, 3000, 6000));
    QCOMPARE(side.bar, QRect(3000, 0, 45, 6000));
    QCOMPARE(side.pane2, QRect(3045, 0, 5955, 6000));

    splitter.CreateSplitter(cSplitter::Stacked, 2000, 45, 15, 15, 15, 15);
    const cSplitter::Layout stacked = splitter.layout();
    QCOMPARE(stacked.pane1, QRect(15, 15, 8970, 1985));
    QCOMPARE(stacked.pane2, QRect(15, 2045, 8970, 3940));

    // One pane alone fills the container; no bar.
    splitter.LeftPanelVisible = false;
    const cSplitter::Layout alone = splitter.layout();
    QVERIFY(!alone.barVisible);
    QCOMPARE(alone.pane2, QRect(15, 15, 8970, 5970));
    QVERIFY(alone.pane1.isNull());
}

QTEST_GUILESS_MAIN(TestSplitter)
#include "tst_splitter.moc"
