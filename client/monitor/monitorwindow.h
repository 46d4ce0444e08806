#pragma once

#include "monitorsession.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCursor>
#include <QWidget>

#include <functional>

class monitorFeed;
class monitorFilterModel;
class monitorTransactionModel;
class userPrompts;

namespace Ui {
class monitorWindow;
}

// The client's bus monitor: a serial line chosen with its settings, Start
// and Stop of qelDrvMonitor on it, the transactions it reports in a table
// with a filter, Pause, Clear and Save as CSV, and the monitor's messages and
// summary beneath. Closing the window ends the listening.
class monitorWindow : public QWidget
{
    Q_OBJECT

public:
    using PortLister = std::function<QStringList()>;
    using DeviceName = std::function<QString()>;

    // program: the path of qelDrvMonitor; prompts asks the user; activeDevice
    // names the device of the project's active serial port (empty for none),
    // which the monitor leaves to the drivers; listPorts lists the free
    // serial ports.
    monitorWindow(const QString &program, userPrompts *prompts, DeviceName activeDevice,
        PortLister listPorts, QWidget *parent = nullptr);
    ~monitorWindow() override;

    monitorSession *session() const { return listening; }
    monitorTransactionModel *transactions() const { return model; }
    monitorFilterModel *shown() const { return filtered; }
    monitorFeed *feed() const { return batches; }

    // The line the controls describe.
    monitorLine line() const;
    void setLine(const monitorLine &line);

public slots:
    void startListening();
    void stopListening();
    void saveAsCsv();
    // Saves the transactions the filter shows to path; false, and the user
    // told why, when it could not be written.
    bool saveTo(const QString &path);
    void refreshPorts();
    // Ends the listening when its line has become the project's active
    // port, and tells the user why: the drivers' replies are not shared.
    void leaveActivePort();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showState();
    void showCounts();
    void showFunctions();
    void applyFilter();
    void showMessage(const QString &line);
    // Marks where the summary of a monitor asked to stop will begin.
    void markSummaryStart();
    void listeningEnded(const monitorSession::outcome &how);
    void showError(const QString &text);
    // The rows of the transactions the filter shows, those waiting included.
    QList<QByteArray> shownRows() const;
    // Sets the columns' widths; their sum.
    int setColumnWidths();
    // Sizes the window to show columnsWidth of columns where the screen has room.
    void fitToColumns(int columnsWidth);

    Ui::monitorWindow *ui;
    userPrompts *prompts;
    DeviceName activeDevice;
    PortLister listPorts;
    monitorSession *listening;
    monitorTransactionModel *model;
    monitorFilterModel *filtered;
    monitorFeed *batches;
    monitorLine listened; // the line of the current or last listening
    QString listeningLine; // the monitor's "Listening on ..." line of the current run
    QString endText; // how the last listening ended
    QTextCursor summaryStart; // the end of the messages when the monitor was asked to stop
    bool stopKeyed = false; // Stop had the focus when it was pressed
    bool following = true; // the view shows the newest rows and keeps doing so
};
