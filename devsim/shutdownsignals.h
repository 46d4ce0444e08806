#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

// Turns SIGTERM and SIGINT into the signal requested() on the event loop
// (through a pipe that the handler writes one byte to).
class ShutdownSignals : public QObject
{
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject *parent = nullptr);
    ~ShutdownSignals() override;

    bool install();
    // Asks for SIGTERM when the parent process ends (a test that crashed
    // must not leave its simulator behind). False when the parent is gone already.
    static bool followParent();

signals:
    void requested();

private:
    void readPipe();

    std::unique_ptr<QSocketNotifier> notifier;
};
