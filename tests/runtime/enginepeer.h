#pragma once

// Scripted device peers for the engine's tests: a pseudo-terminal pair stands
// in for the serial line, a loopback socket for TCP. The peer runs in its own
// thread because the engine's calls block.

#include "engine/modbus.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

// Bytes from text such as "01 03 00 64 00 02 CRC": hexadecimal bytes, the
// token CRC for the serial CRC-16 of the bytes before it (low byte first)
// and LRC for their ASCII LRC.
QByteArray frameBytes(const QString &text);
// The Modbus ASCII frame of the bytes of text (as frameBytes reads it): ':',
// upper-case hexadecimal digits, CR LF.
QByteArray asciiFrame(const QString &text);
// "[01][03]..." / "<01><03>...": the engine's trace of sent / received bytes.
QString sentTrace(const QByteArray &bytes);
QString receivedTrace(const QByteArray &bytes);

// One exchange of a peer: read exactly `request` bytes, then answer.
struct PeerStep
{
    int requestLength = 0;
    QByteArray reply; // written at once; nothing when empty
    bool closeAfter = false; // close the connection after answering
};

// Plays steps on a file descriptor in a thread of its own. Each read waits at
// most 5 s, so a peer never outlives a broken test for long.
class ScriptedPeer
{
public:
    ~ScriptedPeer();
    void start(int fd, const QList<PeerStep> &steps);
    // Waits for the script to end; returns the requests read, in order
    // (a request that did not arrive in full is returned as far as it came).
    QList<QByteArray> finish();

private:
    std::thread thread;
    QList<QByteArray> requests;
};

// Reads up to length bytes, waiting at most timeoutMs for each piece.
QByteArray readBytes(int fd, int length, int timeoutMs);
bool writeBytes(int fd, const QByteArray &bytes);
// True when fd has something to read within timeoutMs.
bool readable(int fd, int timeoutMs);

// A pseudo-terminal pair: the engine opens slavePath(), the peer plays on the
// master side.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    bool isOpen() const { return masterFd != -1; }
    // Closes the peer's side as an adapter that goes away does: the line
    // hangs up.
    void hangUp();
    int master() const { return masterFd; }
    int slave() const { return slaveFd; }
    QString slavePath() const { return path; }

private:
    int masterFd = -1;
    int slaveFd = -1;
    QString path;
};

// A listening socket on 127.0.0.1 with a port chosen by the system.
class TcpListener
{
public:
    explicit TcpListener(int backlog = 4);
    ~TcpListener();
    bool isOpen() const { return listenFd != -1; }
    int port() const { return portNumber; }
    // Accepts one pending connection (waiting at most 5 s); -1 on failure.
    // The caller owns the returned descriptor.
    int accept();

private:
    int listenFd = -1;
    int portNumber = 0;
};

// A port on 127.0.0.1 that is bound but not listening: connections to it are
// refused, and no other program can take it while this object lives.
class RefusingPort
{
public:
    RefusingPort();
    ~RefusingPort();
    int port() const { return portNumber; }

private:
    int fd = -1;
    int portNumber = 0;
};

// Captures what the engine writes to standard output and standard error
// between construction and finish().
class OutputCapture
{
public:
    OutputCapture();
    ~OutputCapture();
    void finish();
    QString out() const { return outText; }
    QString err() const { return errText; }

private:
    int savedOut = -1;
    int savedErr = -1;
    int outFile = -1;
    int errFile = -1;
    QString outText;
    QString errText;
};

// A context connected to a scripted peer: on a pseudo-terminal pair, the
// master side is the peer; over TCP, the connection a loopback listener
// accepted. Closed, and the peer's end with it, on destruction.
class PeerLine
{
public:
    // Makes the context from the pseudo-terminal's slave path (serial) or
    // the listener's port (TCP).
    using Maker = std::function<ModbusContext *(const QString &device, int port)>;

    ~PeerLine();
    // Makes the context, sets its address and connects it to the peer.
    bool open(bool tcp, int address, const Maker &make);
    ModbusContext *get() const { return context.get(); }
    int peer() const { return pty ? pty->master() : accepted; }
    PtyPair *ptyPair() const { return pty.get(); }

private:
    std::unique_ptr<PtyPair> pty;
    std::unique_ptr<TcpListener> listener;
    int accepted = -1;
    Modbus::ContextPtr context;
};
