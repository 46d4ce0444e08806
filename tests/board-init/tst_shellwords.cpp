// Option texts split into the words a shell would pass on.
#include "shellwords.h"

#include <QtTest>

class TestShellWords : public QObject
{
    Q_OBJECT
private slots:
    void split_data();
    void split();
};

void TestShellWords::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("the board options")
        << "-o 'StrictHostKeyChecking no'" << QStringList {"-o", "StrictHostKeyChecking no"};
    QTest::newRow("empty") << "" << QStringList {};
    QTest::newRow("blanks only") << "   \t " << QStringList {};
    QTest::newRow("several blanks between") << "-v   -4\t-C" << QStringList {"-v", "-4", "-C"};
    QTest::newRow("double quotes") << "-o \"User root\"" << QStringList {"-o", "User root"};
    QTest::newRow("escapes in double quotes")
        << "\"a \\\"b\\\" \\\\ \\n\"" << QStringList {"a \"b\" \\ \\n"};
    QTest::newRow("nothing special in single quotes")
        << "'a \"b\" \\ $x'" << QStringList {"a \"b\" \\ $x"};
    QTest::newRow("backslash outside quotes") << "a\\ b c" << QStringList {"a b", "c"};
    QTest::newRow("quotes joined to a word")
        << "-oStrictHostKeyChecking='no'" << QStringList {"-oStrictHostKeyChecking=no"};
    QTest::newRow("empty quoted word") << "-o ''" << QStringList {"-o", ""};
    QTest::newRow("unterminated quote") << "-o 'Strict no" << QStringList {"-o", "Strict no"};
    QTest::newRow("no expansion") << "$HOME ~ *" << QStringList {"$HOME", "~", "*"};
}

void TestShellWords::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(shellWords(text), words);
}

QTEST_MAIN(TestShellWords)
#include "tst_shellwords.moc"
