#pragma once

#include "cmm.h"
#include "macrorequest.h"

#include <QString>
#include <QVector>

struct ModbusContext;

namespace CmmNamespace {

// Sends one device macro, chosen by name with its parameter text, and keeps
// the answer words of a data-returning macro for answerText().
//
// A macro that only acts is written with function 16 at register 0; one of
// the five GET macros is sent with the read macro function 0x41. After a
// failed exchange the line is flushed so that a late reply cannot be taken
// for the answer of a following request.
class Cmm_Write_Macro : public Cmm
{
public:
    // The context is borrowed: the driver connects, closes and frees it.
    explicit Cmm_Write_Macro(ModbusContext *context);
    ~Cmm_Write_Macro() override;

    // Looks the name up and parses the text by the macro's rule. Returns false
    // for an unknown name or a text that breaks the rule; the macro is then
    // not sent by run() until a later call succeeds.
    bool setFromText(const QString &name, const QString &text);
    // Sends the macro set by the last successful setFromText and sets ok.
    bool run() override;
    // Report text for the answer of the last successful run of a
    // data-returning macro.
    QString answerText() const;

    const QString &macroName() const { return name; }
    quint16 code() const { return request.code; }
    quint8 specification() const { return request.specification; }
    const QVector<quint16> &params() const { return request.params; }
    bool returnsData() const { return request.returnsData; }
    const QVector<quint16> &answer() const { return answerWords; }

private:
    ModbusContext *context;
    QString name;
    MacroRequest request;
    QVector<quint16> answerWords;
    bool ready = false;
};

} // namespace CmmNamespace
