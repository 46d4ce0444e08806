#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class QTextDecoder;
class QTimer;

// One run of an OpenSSH client program (ssh or scp) as a child process. The
// subclass builds the command line shown to the user and the argument list the
// program is started with: every address, file name and option value reaches
// the program as one argument, whatever blanks or dashes it holds. Output is
// passed on through updateLog while the program runs. There is no time-out
// unless timeoutMs is set above 0 before start().
class openSshRun : public QObject
{
    Q_OBJECT
public:
    static constexpr int ProgramMissing = -1001; // the program file does not exist
    static constexpr int ProgramFailed = -1002; // it exists but could not be started
    static constexpr int TimedOut = -1003;

    ~openSshRun() override;

    // Starts the program; does nothing when it is missing. Returns `result`.
    int start();
    // Keeps the event loop running until the program has ended and returns
    // `result`; returns at once when the program is missing or was not started.
    int wait();

    QProcess *process;
    QTimer *timer;
    QString commandLine; // as shown to the user
    bool done = false;
    int result = 0; // the exit code after the end, or one of the codes above
    int timeoutMs = -1;
    QString outText;
    QString errText;

    QString program; // the program file, unquoted
    QStringList arguments; // as the program receives them
    QString workingDirectory; // empty: the caller's own

signals:
    // A chunk of output as text, line ends removed.
    void updateLog(QString text);
    void ended();

private slots:
    void finished(int code);
    void standardError();
    void standardOutput();
    void timeoutOccured();
    void processError(QProcess::ProcessError error);

protected:
    explicit openSshRun(QObject *parent);

    // Takes the program file and what the subclass built, and checks that the
    // program exists.
    void prepare(const QString &programFile, const QString &line, const QStringList &args);

    // `folder` + "/" + the platform's program name.
    static QString programFile(const QString &folder, const QString &baseName);
    // `text` in double quotes when it holds a blank after its first character.
    static QString quotedIfBlank(const QString &text);

private:
    void end(int code);
    QString takeChunk(QProcess::ProcessChannel channel, QTextDecoder *decoder, QString &text);

    bool startRequested = false;
    QTextDecoder *outDecoder;
    QTextDecoder *errDecoder;
};
