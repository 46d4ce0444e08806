#include "logbuffer.h"

#include <QtTest>

// The text the log keeps while hidden: lines, the unfinished line, the cap.
class tst_logbuffer : public QObject
{
    Q_OBJECT

private slots:
    void splitLines_data();
    void splitLines();
    void collect_data();
    void collect();
    void take();
};

void tst_logbuffer::splitLines_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("one line") << "a<br>" << QStringList {"a<br>", ""};
    QTest::newRow("unfinished") << "a " << QStringList {"a "};
    QTest::newRow("two lines and a rest") << "a<br>b<br>c" << QStringList {"a<br>", "b<br>", "c"};
    QTest::newRow("other spellings")
        << "a<BR>b<br/>c<br />" << QStringList {"a<BR>", "b<br/>", "c<br />", ""};
    QTest::newRow("empty lines") << "<br><br>" << QStringList {"<br>", "<br>", ""};
    QTest::newRow("not a break") << "<b>x</b><bring>" << QStringList {"<b>x</b><bring>"};
}

void tst_logbuffer::splitLines()
{
    QFETCH(QString, html);
    QFETCH(QStringList, pieces);
    QCOMPARE(logBuffer::splitLines(html), pieces);
}

void tst_logbuffer::collect_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("fragments");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("unfinished");
    QTest::addColumn<qint64>("dropped");

    QTest::newRow("request line in two parts")
        << 5 << QStringList {"READ ", "<b>OK</b><br>"} << QStringList {"READ <b>OK</b><br>"} << ""
        << qint64(0);
    QTest::newRow("unfinished kept")
        << 5 << QStringList {"a<br>b", "c"} << QStringList {"a<br>"} << "bc" << qint64(0);
    QTest::newRow("newest kept") << 2 << QStringList {"1<br>", "2<br>", "3<br>", "4<br>5"}
                                 << QStringList {"3<br>", "4<br>"} << "5" << qint64(2);
    QTest::newRow("many lines in one fragment")
        << 3 << QStringList {"1<br>2<br>3<br>4<br>5<br>6<br>"}
        << QStringList {"4<br>", "5<br>", "6<br>"} << "" << qint64(3);
}

void tst_logbuffer::collect()
{
    QFETCH(int, limit);
    QFETCH(QStringList, fragments);
    QFETCH(QStringList, lines);
    QFETCH(QString, unfinished);
    QFETCH(qint64, dropped);

    logBuffer buffer(limit);
    QVERIFY(buffer.isEmpty());
    for (const QString &fragment : qAsConst(fragments))
        buffer.append(fragment);
    QCOMPARE(buffer.completeLines(), lines);
    QCOMPARE(buffer.unfinished(), unfinished);
    QCOMPARE(buffer.dropped(), dropped);
    buffer.clear();
    QVERIFY(buffer.isEmpty());
}

void tst_logbuffer::take()
{
    logBuffer buffer(20000);
    for (int i = 1; i <= 30000; ++i)
        buffer.append(QStringLiteral("line %1<br>").arg(i));
    buffer.append(QStringLiteral("rest"));
    QCOMPARE(buffer.completeLines().size(), 20000);
    QCOMPARE(buffer.takeDropped(), qint64(10000));
    QCOMPARE(buffer.dropped(), qint64(0));

    QStringList first = buffer.take(2);
    QCOMPARE(first, (QStringList {"line 10001<br>", "line 10002<br>", ""}));
    QCOMPARE(buffer.completeLines().size(), 19998);
    QStringList rest = buffer.take(20000);
    QCOMPARE(rest.size(), 19999);
    QCOMPARE(rest.first(), QStringLiteral("line 10003<br>"));
    QCOMPARE(rest.at(19997), QStringLiteral("line 30000<br>"));
    QCOMPARE(rest.last(), QStringLiteral("rest"));
    QVERIFY(buffer.isEmpty());
}

QTEST_GUILESS_MAIN(tst_logbuffer)
#include "tst_logbuffer.moc"
