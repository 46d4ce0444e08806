#pragma once

#include "projectdocument.h"

#include <QAction>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>

// A project document over lists of its own, as the window has them: four
// layouts that end with a spacer, and the Undo and Redo actions.
struct openedProject
{
    QWidget lists;
    QVBoxLayout *layouts[4] = {new QVBoxLayout, new QVBoxLayout, new QVBoxLayout, new QVBoxLayout};
    QAction undoAction;
    QAction redoAction;
    projectDocument document {
        layouts[0], layouts[1], layouts[2], layouts[3], &undoAction, &redoAction};
    QTemporaryDir dir;

    openedProject()
    {
        auto *column = new QVBoxLayout(&lists);
        for (QVBoxLayout *layout : layouts) {
            column->addLayout(layout);
            layout->addStretch();
        }
    }
    // A row of values as a project opened from its file holds it: in its
    // list, and nothing to undo.
    template<class Row> Row *open(const rowValues &values)
    {
        auto *row = qobject_cast<Row *>(document.add(values));
        if (!row || !document.save(dir.filePath(QStringLiteral("opened.json"))))
            qFatal("cannot open a row");
        return row;
    }
};
