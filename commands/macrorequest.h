#pragma once

#include <QVector>
#include <QtGlobal>

// One device macro ready to send: its code, its specification byte, its
// parameter words in sending order, and whether it answers with data (sent
// with the read macro function 0x41) or only acts (written with function 16).
struct MacroRequest
{
    quint16 code = 0;
    quint8 specification = 0;
    QVector<quint16> params;
    bool returnsData = false;
};
