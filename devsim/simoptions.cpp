#include "simoptions.h"

#include <QSet>

namespace SimOptions {

namespace {

// Options that take a value; every other known option is a switch.
const QSet<QString> valueOptions = {
    QStringLiteral("--tcp"),
    QStringLiteral("--serial"),
    QStringLiteral("--baud"),
    QStringLiteral("--parity"),
    QStringLiteral("--data-bits"),
    QStringLiteral("--stop-bits"),
    QStringLiteral("--frame-gap"),
    QStringLiteral("--device"),
    QStringLiteral("--address"),
    QStringLiteral("--id-version"),
    QStringLiteral("--id-text"),
    QStringLiteral("--sn"),
    QStringLiteral("--holding"),
    QStringLiteral("--input"),
    QStringLiteral("--holding-file"),
    QStringLiteral("--input-file"),
    QStringLiteral("--dump-holding"),
    QStringLiteral("--dump-input"),
    QStringLiteral("--log"),
    QStringLiteral("--macro-log"),
    QStringLiteral("--device-info"),
    QStringLiteral("--profile-name"),
    QStringLiteral("--profile-desc"),
    QStringLiteral("--profile-model"),
    QStringLiteral("--profile-version"),
    QStringLiteral("--profile-size"),
    QStringLiteral("--profile-blocknet"),
    QStringLiteral("--profile-program-crc"),
    QStringLiteral("--profile-header-crc"),
    QStringLiteral("--device-key"),
    QStringLiteral("--events-count"),
    QStringLiteral("--macro-answer"),
    QStringLiteral("--fault"),
    QStringLiteral("--count-holding"),
    QStringLiteral("--count-input"),
    QStringLiteral("--reply-log"),
};

const QSet<QString> switchOptions = {
    QStringLiteral("--pty"),
    QStringLiteral("--answer-broadcast"),
    QStringLiteral("--no-macros"),
    QStringLiteral("--demo"),
    QStringLiteral("--exit-with-parent"),
    QStringLiteral("--help"),
};

bool readNumber(const QString &text, qint64 low, qint64 high, qint64 *value)
{
    bool ok = false;
    qint64 number = 0;
    if (text.startsWith(QLatin1String("0x")) && text.size() > 2) {
        number = static_cast<qint64>(text.mid(2).toULongLong(&ok, 16));
    } else {
        number = text.toLongLong(&ok, 10);
    }
    if (!ok || number < low || number > high)
        return false;
    *value = number;
    return true;
}

bool readInt(const QString &text, int low, int high, int *value)
{
    qint64 number = 0;
    if (!readNumber(text, low, high, &number))
        return false;
    *value = static_cast<int>(number);
    return true;
}

bool readWord(const QString &text, quint16 *word)
{
    qint64 number = 0;
    if (!readNumber(text, -32768, 65535, &number))
        return false;
    *word = static_cast<quint16>(number & 0xFFFF);
    return true;
}

// "ADDR=REST" with ADDR a register number.
bool splitAddress(const QString &text, int *start, QString *rest)
{
    const int equals = text.indexOf(QLatin1Char('='));
    if (equals < 0 || !readInt(text.left(equals), 0, 65535, start))
        return false;
    *rest = text.mid(equals + 1);
    return true;
}

QString invalid(const QString &option, const QString &value, const QString &why = QString())
{
    QString text = QStringLiteral("invalid value \"%1\" for %2").arg(value, option);
    if (!why.isEmpty())
        text += QStringLiteral(": ") + why;
    return text;
}

} // namespace

bool parseWords(const QString &text, QVector<quint16> *words)
{
    words->clear();
    if (text.isEmpty())
        return true;
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString &part : parts) {
        quint16 word = 0;
        if (!readWord(part.trimmed(), &word))
            return false;
        words->append(word);
    }
    return true;
}

bool parseDevice(const QString &text, DeviceProfile *device, QString *error)
{
    QString rest = text;
    const int idAt = rest.indexOf(QLatin1String(",id="));
    QString identification;
    bool hasIdentification = false;
    if (idAt >= 0) {
        identification = rest.mid(idAt + 4);
        hasIdentification = true;
        rest = rest.left(idAt);
    }
    const QStringList parts = rest.split(QLatin1Char(','));
    if (!readInt(parts.first(), 1, 247, &device->address)) {
        *error = QStringLiteral("device address must be 1 to 247");
        return false;
    }
    for (int i = 1; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part.startsWith(QLatin1String("version="))) {
            if (!readInt(part.mid(8), 1, 4, &device->identificationVersion)) {
                *error = QStringLiteral("identification version must be 1 to 4");
                return false;
            }
        } else if (part == QLatin1String("sn=silent")) {
            device->serialNumberMode = DeviceProfile::SerialNumberMode::Silent;
        } else if (part == QLatin1String("sn=exception")) {
            device->serialNumberMode = DeviceProfile::SerialNumberMode::Exception;
        } else if (part.startsWith(QLatin1String("sn="))) {
            int number = 0;
            if (!readInt(part.mid(3), 0, 65535, &number)) {
                *error = QStringLiteral("serial number must be 0 to 65535, silent or exception");
                return false;
            }
            device->serialNumber = static_cast<quint16>(number);
            device->serialNumberMode = DeviceProfile::SerialNumberMode::Answer;
        } else {
            *error = QStringLiteral("unknown device field \"%1\"").arg(part);
            return false;
        }
    }
    if (hasIdentification)
        device->identification = identification.toLatin1();
    return true;
}

Result parse(const QStringList &arguments, SimConfig *config, QString *error)
{
    DeviceProfile defaults;
    QStringList deviceValues;
    bool lineChosen = false;
    bool addressGiven = false;

    for (int i = 0; i < arguments.size(); ++i) {
        QString option = arguments.at(i);
        QString value;
        bool inlineValue = false;
        const int equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option = option.left(equals);
            inlineValue = true;
        }
        if (switchOptions.contains(option)) {
            if (inlineValue) {
                *error = QStringLiteral("%1 takes no value").arg(option);
                return Result::Error;
            }
        } else if (valueOptions.contains(option)) {
            if (!inlineValue) {
                if (i + 1 >= arguments.size()) {
                    *error = QStringLiteral("%1 needs a value").arg(option);
                    return Result::Error;
                }
                value = arguments.at(++i);
            }
        } else {
            *error = QStringLiteral("unknown option \"%1\"").arg(arguments.at(i));
            return Result::Error;
        }

        if (option == QLatin1String("--help"))
            return Result::Help;

        if (option == QLatin1String("--tcp") || option == QLatin1String("--pty")
            || option == QLatin1String("--serial")) {
            if (lineChosen) {
                *error = QStringLiteral("choose one line: --tcp, --pty or --serial");
                return Result::Error;
            }
            lineChosen = true;
        }

        int number = 0;
        if (option == QLatin1String("--tcp")) {
            config->line = SimConfig::Line::Tcp;
            const int colon = value.lastIndexOf(QLatin1Char(':'));
            const QString portText = colon < 0 ? value : value.mid(colon + 1);
            if (colon > 0)
                config->host = value.left(colon);
            if (!readInt(portText, 0, 65535, &number)) {
                *error = invalid(option, value, QStringLiteral("port must be 0 to 65535"));
                return Result::Error;
            }
            config->port = static_cast<quint16>(number);
        } else if (option == QLatin1String("--pty")) {
            config->line = SimConfig::Line::Pty;
        } else if (option == QLatin1String("--serial")) {
            config->line = SimConfig::Line::Serial;
            config->serial.device = value;
        } else if (option == QLatin1String("--baud")) {
            if (!readInt(value, 1, 10000000, &number) || !PosixLine::isSupportedBaudRate(number)) {
                *error = invalid(option, value, QStringLiteral("not a supported baud rate"));
                return Result::Error;
            }
            config->serial.baudRate = number;
        } else if (option == QLatin1String("--parity")) {
            if (value != QLatin1String("N") && value != QLatin1String("E")
                && value != QLatin1String("O")) {
                *error = invalid(option, value, QStringLiteral("N, E or O"));
                return Result::Error;
            }
            config->serial.parity = value.at(0).toLatin1();
        } else if (option == QLatin1String("--data-bits")) {
            if (!readInt(value, 5, 8, &config->serial.dataBits)) {
                *error = invalid(option, value, QStringLiteral("5 to 8"));
                return Result::Error;
            }
        } else if (option == QLatin1String("--stop-bits")) {
            if (!readInt(value, 1, 2, &config->serial.stopBits)) {
                *error = invalid(option, value, QStringLiteral("1 or 2"));
                return Result::Error;
            }
        } else if (option == QLatin1String("--frame-gap")) {
            if (!readInt(value, 1, 60000, &config->frameGapMs)) {
                *error = invalid(option, value, QStringLiteral("1 to 60000 ms"));
                return Result::Error;
            }
        } else if (option == QLatin1String("--device")) {
            deviceValues.append(value);
        } else if (option == QLatin1String("--address")) {
            if (!readInt(value, 1, 247, &defaults.address)) {
                *error = invalid(option, value, QStringLiteral("1 to 247"));
                return Result::Error;
            }
            addressGiven = true;
        } else if (option == QLatin1String("--id-version")) {
            if (!readInt(value, 1, 4, &defaults.identificationVersion)) {
                *error = invalid(option, value, QStringLiteral("1 to 4"));
                return Result::Error;
            }
        } else if (option == QLatin1String("--id-text")) {
            defaults.identification = value.toLatin1();
        } else if (option == QLatin1String("--sn")) {
            if (value == QLatin1String("silent")) {
                defaults.serialNumberMode = DeviceProfile::SerialNumberMode::Silent;
            } else if (value == QLatin1String("exception")) {
                defaults.serialNumberMode = DeviceProfile::SerialNumberMode::Exception;
            } else if (readInt(value, 0, 65535, &number)) {
                defaults.serialNumber = static_cast<quint16>(number);
            } else {
                *error = invalid(option, value, QStringLiteral("0 to 65535, silent or exception"));
                return Result::Error;
            }
        } else if (option == QLatin1String("--holding") || option == QLatin1String("--input")) {
            SimConfig::RegisterInit init;
            init.input = option == QLatin1String("--input");
            QString words;
            if (!splitAddress(value, &init.start, &words) || !parseWords(words, &init.words)
                || init.words.isEmpty()) {
                *error = invalid(option, value, QStringLiteral("ADDR=V1,V2,..."));
                return Result::Error;
            }
            if (init.start + init.words.size() > 65536) {
                *error = invalid(option, value, QStringLiteral("beyond register 65535"));
                return Result::Error;
            }
            config->registers.append(init);
        } else if (option == QLatin1String("--holding-file")
            || option == QLatin1String("--input-file")) {
            SimConfig::RegisterInit init;
            init.input = option == QLatin1String("--input-file");
            QString file;
            if (!splitAddress(value, &init.start, &file))
                file = value;
            if (file.isEmpty()) {
                *error = invalid(option, value, QStringLiteral("[ADDR=]FILE"));
                return Result::Error;
            }
            init.file = file;
            config->registers.append(init);
        } else if (option == QLatin1String("--dump-holding")) {
            config->dumpHolding = value;
        } else if (option == QLatin1String("--dump-input")) {
            config->dumpInput = value;
        } else if (option == QLatin1String("--log")) {
            config->requestLog = value;
        } else if (option == QLatin1String("--macro-log")) {
            config->macroLog = value;
        } else if (option == QLatin1String("--device-info")
            || option == QLatin1String("--device-key")
            || option == QLatin1String("--events-count")) {
            QVector<quint16> words;
            if (!parseWords(value, &words) || words.size() > 123) {
                *error = invalid(option, value, QStringLiteral("W1,W2,..."));
                return Result::Error;
            }
            if (option == QLatin1String("--device-info"))
                config->answers.deviceInfo = words;
            else if (option == QLatin1String("--device-key"))
                config->answers.deviceKey = words;
            else
                config->answers.eventsCount = words;
        } else if (option == QLatin1String("--profile-name")) {
            config->answers.profileName = value;
        } else if (option == QLatin1String("--profile-desc")) {
            config->answers.profileDescription = value;
        } else if (option == QLatin1String("--profile-model")) {
            config->answers.profileModel = value;
        } else if (option.startsWith(QLatin1String("--profile-"))) {
            if (!readInt(value, 0, 65535, &number)) {
                *error = invalid(option, value, QStringLiteral("0 to 65535"));
                return Result::Error;
            }
            const auto word = static_cast<quint16>(number);
            if (option == QLatin1String("--profile-version"))
                config->answers.profileVersion = word;
            else if (option == QLatin1String("--profile-size"))
                config->answers.profileSize = word;
            else if (option == QLatin1String("--profile-blocknet"))
                config->answers.profileBlocknet = word;
            else if (option == QLatin1String("--profile-program-crc"))
                config->answers.profileProgramCrc = word;
            else
                config->answers.profileHeaderCrc = word;
        } else if (option == QLatin1String("--macro-answer")) {
            int code = 0;
            QString wordsText;
            QVector<quint16> words;
            const int equalsAt = value.indexOf(QLatin1Char('='));
            if (equalsAt < 0 || !readInt(value.left(equalsAt), 0, 65535, &code)
                || !parseWords(value.mid(equalsAt + 1), &words) || words.size() > 123) {
                *error
                    = invalid(option, value, QStringLiteral("CODE=W1,W2,... (at most 123 words)"));
                return Result::Error;
            }
            config->answers.overrides.insert(code, words);
        } else if (option == QLatin1String("--fault")) {
            QString why;
            const std::optional<FaultRule> rule = FaultPlan::parseRule(value, &why);
            if (!rule) {
                *error = invalid(option, value, why);
                return Result::Error;
            }
            config->faults.addRule(*rule);
        } else if (option == QLatin1String("--count-holding")
            || option == QLatin1String("--count-input")) {
            SimConfig::Counter counter;
            counter.input = option == QLatin1String("--count-input");
            const int equalsAt = value.indexOf(QLatin1Char('='));
            if (!readInt(value.left(equalsAt), 0, 65535, &counter.address)
                || (equalsAt >= 0
                    && !readInt(value.mid(equalsAt + 1), -32768, 32767, &counter.step))) {
                *error
                    = invalid(option, value, QStringLiteral("ADDR[=STEP], STEP -32768 to 32767"));
                return Result::Error;
            }
            config->counters.append(counter);
        } else if (option == QLatin1String("--reply-log")) {
            config->replyLog = value;
        } else if (option == QLatin1String("--answer-broadcast")) {
            config->answerBroadcast = true;
        } else if (option == QLatin1String("--no-macros")) {
            config->macros = false;
        } else if (option == QLatin1String("--demo")) {
            config->demo = true;
        } else if (option == QLatin1String("--exit-with-parent")) {
            config->exitWithParent = true;
        }
    }

    if (config->line == SimConfig::Line::Serial && config->serial.device.isEmpty()) {
        *error = QStringLiteral("--serial needs a device");
        return Result::Error;
    }
    if (deviceValues.isEmpty()) {
        config->devices.append(defaults);
    } else {
        if (addressGiven) {
            *error = QStringLiteral("--address and --device exclude each other");
            return Result::Error;
        }
        for (const QString &value : qAsConst(deviceValues)) {
            DeviceProfile device = defaults;
            QString why;
            if (!parseDevice(value, &device, &why)) {
                *error = invalid(QStringLiteral("--device"), value, why);
                return Result::Error;
            }
            for (const DeviceProfile &other : qAsConst(config->devices)) {
                if (other.address == device.address) {
                    *error = invalid(
                        QStringLiteral("--device"), value, QStringLiteral("address given twice"));
                    return Result::Error;
                }
            }
            config->devices.append(device);
        }
    }
    return Result::Run;
}

QString usage()
{
    return QStringLiteral(
        "Usage: qelDevSim [options]\n"
        "A Modbus device simulator (RTU and TCP) for testing and demonstrating the qel tools.\n"
        "The first line of standard output names the line: \"host:port\" for TCP, the\n"
        "device path for RTU. SIGTERM or SIGINT end it.\n"
        "\n"
        "Line (one of):\n"
        "  --tcp [HOST:]PORT        Modbus TCP server (default 127.0.0.1:1502; port 0: any free "
        "port)\n"
        "  --pty                    RTU on a new pseudo-terminal\n"
        "  --serial DEVICE          RTU on a serial device\n"
        "  --baud N                 serial baud rate (default 115200)\n"
        "  --parity N|E|O           serial parity (default N)\n"
        "  --data-bits 5..8         serial data bits (default 8)\n"
        "  --stop-bits 1|2          serial stop bits (default 1)\n"
        "  --frame-gap MS           RTU silence that ends a frame of unknown length (default 50)\n"
        "\n"
        "Devices:\n"
        "  --address A              address of the single device (1..247, default 1)\n"
        "  --device A[,version=V][,sn=N|silent|exception][,id=TEXT]\n"
        "                           one device per option (replaces the single device);\n"
        "                           id= takes the rest of the value, commas included\n"
        "  --id-version V           identification version 1..4 (10/12/14/16 bytes, default 1)\n"
        "  --id-text TEXT           identification text (default qelDevSim)\n"
        "  --sn N|silent|exception  serial number (default 12345), or no answer to it\n"
        "  --answer-broadcast       the first device answers requests to address 0\n"
        "  --no-macros              register 0 is a plain holding register\n"
        "\n"
        "Registers:\n"
        "  --holding ADDR=V1,V2,... initial holding registers (decimal, -32768.., 0x..)\n"
        "  --input ADDR=V1,V2,...   initial input registers\n"
        "  --holding-file [ADDR=]FILE  holding image (16-bit words, low byte first)\n"
        "  --input-file [ADDR=]FILE    input image\n"
        "  --demo                   load the demo image first (see README)\n"
        "  --dump-holding FILE      keep FILE equal to the holding registers\n"
        "  --dump-input FILE        write the input registers to FILE at start\n"
        "  --count-holding ADDR[=STEP]  holding ADDR steps by STEP (default 1) after each read\n"
        "  --count-input ADDR[=STEP]    input ADDR steps likewise\n"
        "\n"
        "Macro answers (function 0x41):\n"
        "  --device-info W,W,W      GET_DEVICE_INFO (225) words (default 3,2,1)\n"
        "  --profile-name TEXT      GET_PROFILE_HEADER (224) name (words 13-28)\n"
        "  --profile-desc TEXT      description (words 29-44)\n"
        "  --profile-model TEXT     model (words 5-12)\n"
        "  --profile-version N      word 2 (default 10)\n"
        "  --profile-size N         word 3\n"
        "  --profile-blocknet N     word 45\n"
        "  --profile-program-crc N  word 46\n"
        "  --profile-header-crc N   word 47\n"
        "  --device-key W,W         GET_DEVICE_KEY (220) words\n"
        "  --events-count W,W       GET_EVENTS_COUNT (202) words\n"
        "  --macro-answer CODE=W,...  macro CODE answers exactly these words (may be empty)\n"
        "\n"
        "Logs:\n"
        "  --log FILE               every received frame as hex bytes, one line each\n"
        "  --macro-log FILE         every accepted macro: KIND code=C spec=S params=P ...\n"
        "  --reply-log FILE         line N: the bytes sent for the frame on line N of --log, or -\n"
        "\n"
        "Faults (repeatable): --fault KIND[=VALUE][,request=N][,function=F][,address=A]\n"
        "  exception=CODE  delay=MS  stall=MS  partial[=BYTES]  bad-crc  other-address=A\n"
        "  bad-transaction[=ID]  bad-protocol[=ID]  silent  drop  length[=DELTA]\n"
        "  bad-code-complement  bad-spec-complement  bad-count-complement\n"
        "  trickle=MS      first byte of the reply, then one byte every MS\n"
        "\n"
        "Other:\n"
        "  --exit-with-parent       end when the process that started it ends\n"
        "  --help                   this text\n");
}

} // namespace SimOptions
