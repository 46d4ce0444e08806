#pragma once

#include <QStringList>

#include <vector>

// A register map as a table of texts, as its file holds it: the lines that
// are not empty, each with the number by which the user finds it (the line
// of a CSV file where its record begins, the row of a worksheet).
struct mapLine
{
    int number = 0;
    QStringList cells;
};

struct mapTable
{
    std::vector<mapLine> lines;
    // The lines after the last one taken were left unread: a map holds at
    // most maxLines lines besides its header. 0 when none was left.
    int firstUnread = 0;

    static constexpr int MaxLines = 65536;
};
