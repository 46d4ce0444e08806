#include "enginepeer.h"

#include "wireframe.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

QByteArray frameBytes(const QString &text)
{
    QByteArray bytes;
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == QLatin1String("CRC")) {
            const quint16 crc = WireFrame::crc16(bytes); // bit by bit, unlike the engine
            bytes.append(char(crc & 0xFF));
            bytes.append(char(crc >> 8));
        } else if (part == QLatin1String("LRC")) {
            bytes.append(char(WireFrame::lrc(bytes)));
        } else {
            bytes.append(char(part.toUInt(nullptr, 16)));
        }
    }
    return bytes;
}

QByteArray asciiFrame(const QString &text)
{
    return ':' + frameBytes(text).toHex().toUpper() + "\r\n";
}

static QString trace(const QByteArray &bytes, const char *format)
{
    QString text;
    for (const char byte : bytes)
        text += QString::asprintf(format, unsigned(quint8(byte)));
    return text;
}

QString sentTrace(const QByteArray &bytes)
{
    return trace(bytes, "[%.2X]");
}

QString receivedTrace(const QByteArray &bytes)
{
    return trace(bytes, "<%.2X>");
}

bool readable(int fd, int timeoutMs)
{
    pollfd ready {fd, POLLIN, 0};
    int rc;
    do {
        rc = poll(&ready, 1, timeoutMs);
    } while (rc == -1 && errno == EINTR);
    return rc == 1;
}

QByteArray readBytes(int fd, int length, int timeoutMs)
{
    QByteArray bytes;
    while (bytes.size() < length && readable(fd, timeoutMs)) {
        char buffer[512];
        const ssize_t count = ::read(fd, buffer, size_t(qMin(length - bytes.size(), 512)));
        if (count > 0)
            bytes.append(buffer, int(count));
        else if (count == 0 || errno != EINTR)
            break;
    }
    return bytes;
}

bool writeBytes(int fd, const QByteArray &bytes)
{
    int written = 0;
    while (written < bytes.size()) {
        const ssize_t count
            = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (count > 0)
            written += int(count);
        else if (count == -1 && errno != EINTR)
            return false;
    }
    return true;
}

ScriptedPeer::~ScriptedPeer()
{
    if (thread.joinable())
        thread.join();
}

void ScriptedPeer::start(int fd, const QList<PeerStep> &steps)
{
    requests.clear();
    thread = std::thread([this, fd, steps] {
        for (const PeerStep &step : steps) {
            const QByteArray request = readBytes(fd, step.requestLength, 5000);
            requests.append(request);
            if (request.size() < step.requestLength)
                return;
            if (!step.reply.isEmpty())
                writeBytes(fd, step.reply);
            if (step.closeAfter)
                shutdown(fd, SHUT_WR);
        }
    });
}

QList<QByteArray> ScriptedPeer::finish()
{
    if (thread.joinable())
        thread.join();
    return requests;
}

PtyPair::PtyPair()
{
    char name[128];
    if (openpty(&masterFd, &slaveFd, name, nullptr, nullptr) == -1) {
        masterFd = slaveFd = -1;
        return;
    }
    fcntl(masterFd, F_SETFD, FD_CLOEXEC);
    fcntl(slaveFd, F_SETFD, FD_CLOEXEC);
    termios settings;
    if (tcgetattr(slaveFd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(slaveFd, TCSANOW, &settings);
    }
    path = QString::fromLocal8Bit(name);
}

PtyPair::~PtyPair()
{
    if (slaveFd != -1)
        ::close(slaveFd);
    if (masterFd != -1)
        ::close(masterFd);
}

void PtyPair::hangUp()
{
    for (int *fd : {&slaveFd, &masterFd}) {
        if (*fd != -1)
            ::close(*fd);
        *fd = -1;
    }
}

static sockaddr_in loopback(int port)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

static int boundSocket(int *port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd == -1)
        return -1;
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == -1
        || getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) == -1) {
        ::close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

TcpListener::TcpListener(int backlog)
{
    listenFd = boundSocket(&portNumber);
    if (listenFd != -1 && listen(listenFd, backlog) == -1) {
        ::close(listenFd);
        listenFd = -1;
    }
}

TcpListener::~TcpListener()
{
    if (listenFd != -1)
        ::close(listenFd);
}

int TcpListener::accept()
{
    if (!readable(listenFd, 5000))
        return -1;
    return accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
}

RefusingPort::RefusingPort()
{
    fd = boundSocket(&portNumber);
}

RefusingPort::~RefusingPort()
{
    if (fd != -1)
        ::close(fd);
}

static QString fileText(int fd)
{
    QByteArray bytes;
    char buffer[4096];
    off_t offset = 0;
    ssize_t count;
    while ((count = pread(fd, buffer, sizeof buffer, offset)) > 0) {
        bytes.append(buffer, int(count));
        offset += count;
    }
    return QString::fromLocal8Bit(bytes);
}

OutputCapture::OutputCapture()
{
    fflush(stdout);
    fflush(stderr);
    outFile = memfd_create("engine-stdout", MFD_CLOEXEC);
    errFile = memfd_create("engine-stderr", MFD_CLOEXEC);
    savedOut = dup(STDOUT_FILENO);
    savedErr = dup(STDERR_FILENO);
    dup2(outFile, STDOUT_FILENO);
    dup2(errFile, STDERR_FILENO);
}

OutputCapture::~OutputCapture()
{
    finish();
}

void OutputCapture::finish()
{
    if (savedOut == -1)
        return;
    fflush(stdout);
    fflush(stderr);
    dup2(savedOut, STDOUT_FILENO);
    dup2(savedErr, STDERR_FILENO);
    ::close(savedOut);
    ::close(savedErr);
    savedOut = savedErr = -1;
    outText = fileText(outFile);
    errText = fileText(errFile);
    ::close(outFile);
    ::close(errFile);
}

PeerLine::~PeerLine()
{
    if (context)
        Modbus::close(context.get());
    if (accepted != -1)
        ::close(accepted);
}

bool PeerLine::open(bool tcp, int address, const Maker &make)
{
    if (tcp) {
        listener = std::make_unique<TcpListener>();
        if (!listener->isOpen())
            return false;
        context.reset(make(QString(), listener->port()));
    } else {
        pty = std::make_unique<PtyPair>();
        if (!pty->isOpen())
            return false;
        context.reset(make(pty->slavePath(), 0));
    }
    if (!context || Modbus::setAddress(context.get(), address) == -1
        || Modbus::connect(context.get()) == -1)
        return false;
    if (tcp)
        accepted = listener->accept();
    return !tcp || accepted != -1;
}
