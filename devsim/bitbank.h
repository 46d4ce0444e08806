#pragma once

#include <QVector>

// The 65536 coils and 65536 discrete inputs of the simulated devices, one
// value 0 or 1 each.
class BitBank
{
public:
    static constexpr int Count = 65536;

    BitBank();

    bool coil(int address) const { return coils.at(address); }
    bool discreteInput(int address) const { return discreteInputs.at(address); }

    // Initial content and a master's writes; bits beyond address 65535 are
    // refused whole.
    bool setCoils(int start, const QVector<bool> &bits);
    bool setDiscreteInputs(int start, const QVector<bool> &bits);

private:
    static bool store(QVector<bool> &target, int start, const QVector<bool> &bits);

    QVector<bool> coils;
    QVector<bool> discreteInputs;
};
