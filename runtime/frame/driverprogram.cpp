#include "driverprogram.h"

#include "driverconnection.h"
#include "optionpairs.h"
#include "optiontable.h"
#include "requestserver.h"

DriverProgram::DriverProgram(const OptionTable &table, QString usageText, Request request)
    : table(table)
    , usage(std::move(usageText))
    , request(request)
{ }

int DriverProgram::run(const QStringList &arguments) const
{
    OptionPairs options;
    if (const std::optional<int> status = table.readCommandLine(arguments, usage, &options))
        return *status;
    if (options.has(RequestServer::serveOption()))
        return RequestServer(*this).serve(arguments, options);
    DriverConnection line(options);
    return request(options, line);
}

int DriverProgram::runRequest(const QStringList &arguments, DriverConnection &line) const
{
    OptionPairs options;
    if (const std::optional<int> status = table.readCommandLine(arguments, usage, &options))
        return *status;
    return request(options, line);
}
