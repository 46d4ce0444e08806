#pragma once

#include <QString>

// Turns the report markup of every console program into plain console text:
// "<br>" ends a line, tags are removed, "&nbsp;" becomes a blank.
class ReportPrinter
{
public:
    // The process-wide printer, created on first use.
    static ReportPrinter &instance();

    // Report on standard output, "<br>" as "\r\n", UTF-8, flushed.
    void printReport(const QString &markup);
    // Error on standard error, "<br>" as "\n", UTF-8, flushed.
    void printError(const QString &markup);
    // Text on standard output as it is, UTF-8, flushed: text of a device,
    // which must not be taken for markup.
    void printText(const QString &text);

    // The conversion itself, with the line end to put for each "<br>".
    static QString toPlainText(const QString &markup, const QString &lineEnd);

private:
    ReportPrinter() = default;
};

// A reader of standard output that goes away (qelDrvModbus ... | head) no
// longer ends the program half-way through an operation: the reports that
// follow are lost, the operation goes on and ends with its own status.
void keepRunningWhenOutputCloses();

// Shorthands for ReportPrinter::instance().printReport / printError.
void printReport(const QString &markup);
void printError(const QString &markup);
