#include "command.h"
#include "undostack.h"

#include <QAction>
#include <QtTest>

// The undo history with commands that write what happens to them into a
// shared journal.
class tst_undostack : public QObject
{
    Q_OBJECT

private slots:
    void sequence_data();
    void sequence();
    void withoutActions();
};

namespace {

class journalCommand : public command
{
public:
    journalCommand(QString name, QStringList &journal)
        : name(std::move(name))
        , journal(journal)
    { }
    ~journalCommand() override { journal << QStringLiteral("delete ") + name; }
    void undo() override { journal << QStringLiteral("undo ") + name; }
    void redo() override { journal << QStringLiteral("redo ") + name; }

private:
    QString name;
    QStringList &journal;
};

} // namespace

void tst_undostack::sequence_data()
{
    // Operations: "push X", "undo", "redo", "clear".
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QStringList>("journal");
    QTest::addColumn<bool>("undoEnabled");
    QTest::addColumn<bool>("redoEnabled");

    QTest::newRow("nothing") << QStringList {} << QStringList {} << false << false;
    QTest::newRow("push does not redo")
        << QStringList {"push a"} << QStringList {} << true << false;
    QTest::newRow("undo one") << QStringList {"push a", "undo"} << QStringList {"undo a"} << false
                              << true;
    QTest::newRow("undo, redo") << QStringList {"push a", "undo", "redo"}
                                << QStringList {"undo a", "redo a"} << true << false;
    QTest::newRow("undo in reverse order") << QStringList {"push a", "push b", "undo", "undo"}
                                           << QStringList {"undo b", "undo a"} << false << true;
    QTest::newRow("redo in order")
        << QStringList {"push a", "push b", "undo", "undo", "redo", "redo"}
        << QStringList {"undo b", "undo a", "redo a", "redo b"} << true << false;
    QTest::newRow("push drops what can be redone")
        << QStringList {"push a", "push b", "undo", "undo", "push c"}
        << QStringList {"undo b", "undo a", "delete a", "delete b"} << true << false;
    QTest::newRow("undo past the start does nothing") << QStringList {"push a", "undo", "undo",
        "undo"} << QStringList {"undo a"} << false << true;
    QTest::newRow("redo past the end does nothing")
        << QStringList {"push a", "redo", "undo", "redo", "redo"}
        << QStringList {"undo a", "redo a"} << true << false;
    QTest::newRow("clear deletes the newest first")
        << QStringList {"push a", "push b", "push c", "undo", "clear"}
        << QStringList {"undo c", "delete c", "delete b", "delete a"} << false << false;
    QTest::newRow("after clear") << QStringList {"push a", "clear", "push b", "undo"}
                                 << QStringList {"delete a", "undo b"} << false << true;
}

void tst_undostack::sequence()
{
    QFETCH(QStringList, operations);
    QFETCH(QStringList, journal);
    QFETCH(bool, undoEnabled);
    QFETCH(bool, redoEnabled);

    QAction undoAction(QStringLiteral("Undo"));
    QAction redoAction(QStringLiteral("Redo"));
    QStringList happened;
    {
        UndoStack stack(&undoAction, &redoAction);
        QVERIFY(!undoAction.isEnabled());
        QVERIFY(!redoAction.isEnabled());
        for (const QString &operation : qAsConst(operations)) {
            if (operation.startsWith(QLatin1String("push ")))
                stack.push(new journalCommand(operation.mid(5), happened));
            else if (operation == QLatin1String("undo"))
                stack.undo();
            else if (operation == QLatin1String("redo"))
                stack.redo();
            else if (operation == QLatin1String("clear"))
                stack.clear();
            // The actions follow the lists after every operation.
            QCOMPARE(undoAction.isEnabled(), stack.canUndo());
            QCOMPARE(redoAction.isEnabled(), stack.canRedo());
        }
        QCOMPARE(happened, journal);
        QCOMPARE(undoAction.isEnabled(), undoEnabled);
        QCOMPARE(redoAction.isEnabled(), redoEnabled);
        QCOMPARE(stack.isEmpty(), !undoEnabled && !redoEnabled);
    }
    // Every command pushed is deleted exactly once, by the end of the history
    // at the latest.
    QStringList pushed = operations.filter(QStringLiteral("push "));
    pushed.replaceInStrings(QStringLiteral("push "), QStringLiteral("delete "));
    QStringList deleted = happened.filter(QStringLiteral("delete "));
    std::sort(pushed.begin(), pushed.end());
    std::sort(deleted.begin(), deleted.end());
    QCOMPARE(deleted, pushed);
}

void tst_undostack::withoutActions()
{
    QStringList happened;
    UndoStack stack(nullptr, nullptr);
    stack.push(new journalCommand(QStringLiteral("a"), happened));
    stack.undo();
    stack.redo();
    QCOMPARE(happened, (QStringList {"undo a", "redo a"}));
    QVERIFY(stack.canUndo());
}

QTEST_MAIN(tst_undostack)
#include "tst_undostack.moc"
