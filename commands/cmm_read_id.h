#pragma once

#include "cmm.h"
#include "probeline.h"

#include <QList>
#include <QString>

#include <functional>

struct ModbusContext;

namespace CmmNamespace {

// Finds the identification of one connected device by trying identification
// versions one after the other until one answers, printing a progress line
// per attempt and the identification found when verbose.
class Cmm_Read_Id : public Cmm
{
public:
    // The context is borrowed and must be connected; the caller closes and
    // frees it after the command is gone.
    explicit Cmm_Read_Id(ModbusContext *context);
    ~Cmm_Read_Id() override;

    // Versions to try, in order (default 1, 2, 3, 4).
    void setVersions(const QList<int> &list);
    void setVerbose(bool on) { verbose = on; }
    // Where the progress lines go when verbose (default: printed as reports).
    void setReportSink(std::function<void(const QString &)> sink) { report = std::move(sink); }
    // The pauses after a failed version (20 ms) and after the attempts
    // (100 ms) let the rest of a reply settle before the line is used again.
    // Off, for scans whose short time-out already says that nothing is
    // coming: no pause after a version whose wait ran out (the line was
    // silent for a whole time-out), and the pause after the attempts only
    // when a version answered.
    void setPauseAfterSilence(bool on) { pauseAfterSilence = on; }

    // Tries the versions until one answers; sets ok, the identification and
    // the version that answered.
    bool run() override;
    QString identificationText() const { return identification; }
    // The version that answered; unchanged (0 on a new object) when none did.
    quint32 identificationVersion() const { return version; }

    // One attempt in one version: the identification bytes up to the first
    // zero byte, as Latin-1, go to text (cleared first).
    bool readVersion(int version, QString *text);

    // Serial number of the device at address on a serial line of its own
    // (8N1), read with FD_MACRO_GET_SN; -1 when it cannot be read. The line
    // is closed again before it returns, whatever the outcome. The line
    // waits as the settings say.
    static int readSerialNumber(const QString &port, int baudRate, int address,
        const ProbeSettings &settings = ProbeSettings());
    // The same on a line of any kind.
    static int readSerialNumber(
        const LineSettings &line, int address, const ProbeSettings &settings);

private:
    void print(const QString &markup) const;

    ModbusContext *context;
    QString identification;
    quint32 version = 0;
    bool verbose = true;
    bool pauseAfterSilence = true;
    bool silent = false; // the last attempt ended with its wait running out
    std::function<void(const QString &)> report;
    QList<int> versions {1, 2, 3, 4};
};

} // namespace CmmNamespace
