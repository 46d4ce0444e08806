#include "addelementtolayout.h"
#include "readelement.h"
#include "removeelementfromlayout.h"
#include "undostack.h"
#include "writeelement.h"

#include <QAction>
#include <QPointer>
#include <QSpacerItem>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

// Adding and removing rows of a list through the undo history.
class tst_layoutcommands : public QObject
{
    Q_OBJECT

private:
    // A list as the main window has it: rows above a closing spacer.
    struct List
    {
        std::unique_ptr<QWidget> area {new QWidget};
        QVBoxLayout *layout = new QVBoxLayout(area.get());
        QAction undoAction {QStringLiteral("Undo")};
        QAction redoAction {QStringLiteral("Redo")};
        UndoStack history {&undoAction, &redoAction};

        List()
        {
            layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding));
            area->show();
        }
        ~List() { history.clear(); }
        int end() const { return layout->count() - 1; } // just above the spacer
        readElement *addRead(const QString &desc)
        {
            readValues values;
            values.desc = desc;
            auto *row = new readElement(values);
            history.push(new addReadElementToLayout(layout, row, end()));
            return row;
        }
        // The descriptions of the rows, top to bottom.
        QStringList rows() const
        {
            QStringList list;
            for (int i = 0; i < layout->count(); ++i) {
                QWidget *widget = layout->itemAt(i)->widget();
                if (auto *read = qobject_cast<readElement *>(widget))
                    list << read->request().desc;
                else if (auto *write = qobject_cast<writeElement *>(widget))
                    list << write->request().desc;
            }
            return list;
        }
    };

private slots:
    void addUndoRedo();
    void newCommandDropsUndoneAddition();
    void removeUndoRedo_data();
    void removeUndoRedo();
    void removedRowDeletedWithItsCommand();
    void listGoneBeforeHistory();
    void loadingLeavesHistoryEmpty();
};

void tst_layoutcommands::addUndoRedo()
{
    List list;
    list.addRead(QStringLiteral("A"));
    readElement *b = list.addRead(QStringLiteral("B"));
    list.addRead(QStringLiteral("C"));
    QCOMPARE(list.rows(), (QStringList {"A", "B", "C"}));
    QVERIFY(list.undoAction.isEnabled());
    QVERIFY(!list.redoAction.isEnabled());
    QVERIFY(b->isVisible());
    QCOMPARE(b->parentWidget(), list.area.get());

    list.history.undo();
    list.history.undo();
    QCOMPARE(list.rows(), (QStringList {"A"}));
    QVERIFY(list.redoAction.isEnabled());
    // Taken out of the list, the row belongs to its command alone.
    QVERIFY(!b->isVisible());
    QCOMPARE(b->parentWidget(), nullptr);

    list.history.redo();
    QCOMPARE(list.rows(), (QStringList {"A", "B"}));
    QVERIFY(b->isVisible());
    QCOMPARE(b->parentWidget(), list.area.get());
    list.history.redo();
    QCOMPARE(list.rows(), (QStringList {"A", "B", "C"}));
    QVERIFY(!list.redoAction.isEnabled());
}

void tst_layoutcommands::newCommandDropsUndoneAddition()
{
    List list;
    QPointer<readElement> read = list.addRead(QStringLiteral("read"));
    list.history.undo();
    QVERIFY(read);
    writeValues values;
    values.desc = QStringLiteral("write");
    auto *write = new writeElement(values);
    list.history.push(new addWriteElementToLayout(list.layout, write, list.end()));
    QVERIFY(!list.redoAction.isEnabled());
    QVERIFY(read.isNull()); // deleted for good
    QCOMPARE(list.rows(), (QStringList {"write"}));
}

void tst_layoutcommands::removeUndoRedo_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("first") << "A" << QStringList {"B", "C"};
    QTest::newRow("second") << "B" << QStringList {"A", "C"};
    QTest::newRow("third") << "C" << QStringList {"A", "B"};
}

void tst_layoutcommands::removeUndoRedo()
{
    QFETCH(QString, removed);
    QFETCH(QStringList, after);

    List list;
    QMap<QString, readElement *> rows;
    for (const char *desc : {"A", "B", "C"})
        rows.insert(QLatin1String(desc), list.addRead(QLatin1String(desc)));
    list.history.clear();

    readElement *row = rows.value(removed);
    list.history.push(new removeElementFromLayout(list.layout, row));
    QCOMPARE(list.rows(), after);
    QVERIFY(!row->isVisible());
    QCOMPARE(row->parentWidget(), nullptr);
    QVERIFY(list.undoAction.isEnabled());

    list.history.undo();
    QCOMPARE(list.rows(), (QStringList {"A", "B", "C"})); // back at its place
    QVERIFY(row->isVisible());
    QVERIFY(list.redoAction.isEnabled());

    list.history.redo();
    QCOMPARE(list.rows(), after);
}

void tst_layoutcommands::removedRowDeletedWithItsCommand()
{
    List list;
    QPointer<readElement> row = list.addRead(QStringLiteral("A"));
    list.history.push(new removeElementFromLayout(list.layout, row));
    QVERIFY(row);
    list.history.clear();
    QVERIFY(row.isNull());

    // A removal that was undone leaves the row to the list.
    QPointer<readElement> kept = list.addRead(QStringLiteral("B"));
    list.history.push(new removeElementFromLayout(list.layout, kept));
    list.history.undo();
    list.history.clear();
    QVERIFY(kept);
    QCOMPARE(list.rows(), (QStringList {"B"}));
}

void tst_layoutcommands::listGoneBeforeHistory()
{
    // The list's widget may go first: rows in it go with it, rows held by
    // commands go with the history, each once.
    QAction undoAction;
    QAction redoAction;
    UndoStack history(&undoAction, &redoAction);
    QPointer<readElement> inList;
    QPointer<readElement> removed;
    {
        auto *area = new QWidget;
        auto *layout = new QVBoxLayout(area);
        inList = new readElement;
        removed = new readElement;
        history.push(new addReadElementToLayout(layout, inList, 0));
        history.push(new addReadElementToLayout(layout, removed, 1));
        history.push(new removeElementFromLayout(layout, removed));
        delete area;
    }
    QVERIFY(inList.isNull());
    QVERIFY(removed);
    history.clear();
    QVERIFY(removed.isNull());
}

void tst_layoutcommands::loadingLeavesHistoryEmpty()
{
    // A project is loaded through add commands and the history is then
    // cleared: the rows stay and nothing can be undone.
    List list;
    QList<QPointer<readElement>> rows;
    for (const char *desc : {"A", "B", "C"})
        rows << list.addRead(QLatin1String(desc));
    list.history.clear();
    QVERIFY(!list.undoAction.isEnabled());
    QVERIFY(!list.redoAction.isEnabled());
    QCOMPARE(list.rows(), (QStringList {"A", "B", "C"}));
    for (const QPointer<readElement> &row : qAsConst(rows))
        QVERIFY(row && row->isVisible());
}

QTEST_MAIN(tst_layoutcommands)
#include "tst_layoutcommands.moc"
