#pragma once

#include <QString>

class logWindow;

// Owns the one log window of the program: created hidden on first use, it
// lives until the application object is destroyed.
class logHolder
{
public:
    logHolder(const logHolder &) = delete;
    logHolder &operator=(const logHolder &) = delete;

    logWindow *window() const { return log; }

    // Adds an HTML fragment to the log.
    void append(const QString &html);
    // Activates and raises the log, showing it when it is hidden.
    void showLog();
    // Closes (hides) the log and processes pending events.
    void closeLog();

private:
    logHolder();
    ~logHolder();
    static void destroy();
    friend logHolder &logInstance();

    logWindow *log;
};

// The holder, creating the log window (hidden) on the first call. Needs the
// application object.
logHolder &logInstance();
