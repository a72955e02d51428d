#include "editor/sectionselection.h"

#include <QtTest>

using namespace calvenor;

class TestSectionSelection : public QObject
{
    Q_OBJECT
private slots:
    void fromValue_data();
    void fromValue();
    void roundTrip();
};

void TestSectionSelection::fromValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<int>>("ticked");
    QTest::newRow("nothing stored") << QString() << QList<int> {};
    QTest::newRow("root and two sections") << "0,1,2" << QList<int> {0, 1, 2};
    QTest::newRow("out of order") << "14,3" << QList<int> {3, 14};
    QTest::newRow("a word counts as the root") << "x,5" << QList<int> {0, 5};
    QTest::newRow("past the tree ends the list") << "2,20,3" << QList<int> {2};
    QTest::newRow("negative ends the list") << "4,-1,5" << QList<int> {4};
    QTest::newRow("the last node") << "19" << QList<int> {19};
}

void TestSectionSelection::fromValue()
{
    QFETCH(QString, value);
    QFETCH(QList<int>, ticked);
    const QList<bool> checked = SectionSelection::FromValue(value, 20);
    QCOMPARE(checked.size(), 20);
    QList<int> positions;
    for (int i = 0; i < checked.size(); ++i) {
        if (checked[i])
            positions.append(i);
    }
    QCOMPARE(positions, ticked);
}

void TestSectionSelection::roundTrip()
{
    QList<bool> checked(20, false);
    checked[1] = checked[3] = checked[14] = true;
    QCOMPARE(SectionSelection::ToValue(checked), QStringLiteral("1,3,14"));
    QCOMPARE(SectionSelection::FromValue(SectionSelection::ToValue(checked), 20), checked);
    QCOMPARE(SectionSelection::ToValue(QList<bool>(20, false)), QString());
}

QTEST_MAIN(TestSectionSelection)
#include "tst_sectionselection.moc"
