#include "cmm_write_macro.h"

#include "engine/modbus.h"
#include "macroanswer.h"
#include "macrocatalogue.h"

#include <cerrno>

namespace CmmNamespace {

Cmm_Write_Macro::Cmm_Write_Macro(ModbusContext *context)
    : context(context)
{ }

Cmm_Write_Macro::~Cmm_Write_Macro() = default;

bool Cmm_Write_Macro::setFromText(const QString &macro, const QString &text)
{
    ready = MacroCatalogue::parse(macro, text, &request);
    if (ready)
        name = macro;
    return ready;
}

bool Cmm_Write_Macro::run()
{
    ok = false;
    if (!ready || !context)
        return ok;

    const int count = request.params.size();
    int result = -1;
    if (request.returnsData) {
        answerWords.clear();
        uint16_t words[Modbus::MacroResultWords] = {};
        result = Modbus::readMacro(
            context, request.code, request.specification, count, request.params.constData(), words);
        for (int i = 0; i < result && i < Modbus::MacroResultWords; ++i)
            answerWords.append(words[i]);
    } else {
        result = Modbus::writeMacro(
            context, request.code, request.specification, count, request.params.constData());
    }

    error = 0;
    if (result == -1) {
        error = errno; // before the flush, which may touch errno
        Modbus::flush(context);
    } else {
        ok = true;
    }
    return ok;
}

QString Cmm_Write_Macro::answerText() const
{
    return MacroAnswer::text(name, answerWords);
}

} // namespace CmmNamespace
