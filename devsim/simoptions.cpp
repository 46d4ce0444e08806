#include "simoptions.h"

#include "filenames.h"

#include <QSet>

namespace SimOptions {

namespace {

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

namespace {

// What the options gather before the devices are put together.
struct ParseState
{
    SimConfig *config = nullptr;
    DeviceProfile defaults;
    QStringList deviceValues;
    bool lineChosen = false;
    bool addressGiven = false;
    bool help = false;
};

// Carries one option out; returns what is wrong with it, or nothing.
using Handler = QString (*)(ParseState &state, const QString &option, const QString &value);

// How an option shows in the usage text.
enum class Layout {
    Row, // "  --name VALUE", the help beside it from the help column on
    Below, // "  --name VALUE" alone, the help on the lines below it
    Listed, // "SECTION: --name VALUE" as the heading, the help lines as written
};

struct Option
{
    const char *name;
    const char *value; // what follows the name in the usage; nullptr: a switch
    const char *help; // lines after the first go below, at the help column
    Handler handler;
    const char *section = nullptr; // heading of a group that starts here
    Layout layout = Layout::Row;
    int column = 27; // where the help starts, unless the name and value reach it
    int valueCount = 1; // arguments the value takes (given apart, not with "=")
};

// The arguments of an option that takes several, as its handler gets them.
constexpr QChar ValueSeparator = QChar(0);

QString chooseLine(ParseState &state, SimConfig::Line line)
{
    if (state.lineChosen)
        return QStringLiteral("choose one line: --tcp, --pty or --serial");
    state.lineChosen = true;
    state.config->line = line;
    return QString();
}

QString readWords(const QString &option, const QString &value, QVector<quint16> *words)
{
    if (!parseWords(value, words) || words->size() > 123)
        return invalid(option, value, QStringLiteral("W1,W2,..."));
    return QString();
}

QString readProfileWord(const QString &option, const QString &value, quint16 *word)
{
    int number = 0;
    if (!readInt(value, 0, 65535, &number))
        return invalid(option, value, QStringLiteral("0 to 65535"));
    *word = static_cast<quint16>(number);
    return QString();
}

QString readRegisters(ParseState &state, const QString &option, const QString &value, bool input)
{
    SimConfig::RegisterInit init;
    init.input = input;
    QString words;
    if (!splitAddress(value, &init.start, &words) || !parseWords(words, &init.words)
        || init.words.isEmpty())
        return invalid(option, value, QStringLiteral("ADDR=V1,V2,..."));
    if (init.start + init.words.size() > 65536)
        return invalid(option, value, QStringLiteral("beyond register 65535"));
    state.config->registers.append(init);
    return QString();
}

QString readRegisterFile(ParseState &state, const QString &option, const QString &value, bool input)
{
    SimConfig::RegisterInit init;
    init.input = input;
    if (!splitAddress(value, &init.start, &init.file))
        init.file = value;
    if (init.file.isEmpty())
        return invalid(option, value, QStringLiteral("[ADDR=]FILE"));
    state.config->registers.append(init);
    return QString();
}

// A file the simulator writes: a name that is empty would leave it unwritten
// without a word.
QString readFileName(const QString &option, const QString &value, QString *fileName)
{
    if (value.isEmpty())
        return invalid(option, value, QStringLiteral("an empty file name"));
    *fileName = value;
    return QString();
}

// "ADDR=BITS": the bits as 0 and 1, commas between them allowed (1011 or 1,0,1,1).
QString readBits(ParseState &state, const QString &option, const QString &value, bool discrete)
{
    SimConfig::BitInit init;
    init.discrete = discrete;
    QString text;
    bool valid = splitAddress(value, &init.start, &text);
    for (const QChar c : qAsConst(text)) {
        if (c == QLatin1Char('0') || c == QLatin1Char('1'))
            init.bits.append(c == QLatin1Char('1'));
        else if (c != QLatin1Char(','))
            valid = false;
    }
    if (!valid || init.bits.isEmpty())
        return invalid(option, value, QStringLiteral("ADDR=BITS, bits 0 and 1 (1011 or 1,0,1,1)"));
    if (init.start + init.bits.size() > 65536)
        return invalid(option, value, QStringLiteral("beyond address 65535"));
    state.config->bits.append(init);
    return QString();
}

QString readCounter(ParseState &state, const QString &option, const QString &value, bool input)
{
    SimConfig::Counter counter;
    counter.input = input;
    const int equals = value.indexOf(QLatin1Char('='));
    if (!readInt(value.left(equals), 0, 65535, &counter.address)
        || (equals >= 0 && !readInt(value.mid(equals + 1), -32768, 32767, &counter.step)))
        return invalid(option, value, QStringLiteral("ADDR[=STEP], STEP -32768 to 32767"));
    state.config->counters.append(counter);
    return QString();
}

// Every option in the order of the usage text.
const Option optionTable[] = {
    {"--tcp", "[HOST:]PORT", "Modbus TCP server (default 127.0.0.1:1502; port 0: any free port)",
        [](ParseState &state, const QString &option, const QString &value) {
            const QString why = chooseLine(state, SimConfig::Line::Tcp);
            if (!why.isEmpty())
                return why;
            const int colon = value.lastIndexOf(QLatin1Char(':'));
            if (colon > 0)
                state.config->host = value.left(colon);
            int port = 0;
            if (!readInt(colon < 0 ? value : value.mid(colon + 1), 0, 65535, &port))
                return invalid(option, value, QStringLiteral("port must be 0 to 65535"));
            state.config->port = static_cast<quint16>(port);
            return QString();
        },
        "Line (one of)"},
    {"--pty", nullptr, "RTU on a new pseudo-terminal",
        [](ParseState &state, const QString &, const QString &) {
            return chooseLine(state, SimConfig::Line::Pty);
        }},
    {"--serial", "DEVICE", "RTU on a serial device",
        [](ParseState &state, const QString &, const QString &value) {
            state.config->serial.device = value;
            return chooseLine(state, SimConfig::Line::Serial);
        }},
    {"--baud", "N", "serial baud rate (default 115200)",
        [](ParseState &state, const QString &option, const QString &value) {
            int rate = 0;
            if (!readInt(value, 1, 10000000, &rate) || !PosixLine::isSupportedBaudRate(rate))
                return invalid(option, value, QStringLiteral("not a supported baud rate"));
            state.config->serial.baudRate = rate;
            return QString();
        }},
    {"--parity", "N|E|O", "serial parity (default N)",
        [](ParseState &state, const QString &option, const QString &value) {
            if (value != QLatin1String("N") && value != QLatin1String("E")
                && value != QLatin1String("O"))
                return invalid(option, value, QStringLiteral("N, E or O"));
            state.config->serial.parity = value.at(0).toLatin1();
            return QString();
        }},
    {"--data-bits", "5..8", "serial data bits (default 8)",
        [](ParseState &state, const QString &option, const QString &value) {
            if (!readInt(value, 5, 8, &state.config->serial.dataBits))
                return invalid(option, value, QStringLiteral("5 to 8"));
            return QString();
        }},
    {"--stop-bits", "1|2", "serial stop bits (default 1)",
        [](ParseState &state, const QString &option, const QString &value) {
            if (!readInt(value, 1, 2, &state.config->serial.stopBits))
                return invalid(option, value, QStringLiteral("1 or 2"));
            return QString();
        }},
    {"--frame-gap", "MS", "RTU silence that ends a frame of unknown length (default 50)",
        [](ParseState &state, const QString &option, const QString &value) {
            if (!readInt(value, 1, 60000, &state.config->frameGapMs))
                return invalid(option, value, QStringLiteral("1 to 60000 ms"));
            return QString();
        }},
    {"--framing", "RTU|ASCII", "frames on the line (default: MBAP on --tcp, RTU on serial)",
        [](ParseState &state, const QString &option, const QString &value) {
            if (value == QLatin1String("RTU"))
                state.config->framing = SimConfig::Framing::Rtu;
            else if (value == QLatin1String("ASCII"))
                state.config->framing = SimConfig::Framing::Ascii;
            else
                return invalid(option, value, QStringLiteral("RTU or ASCII"));
            return QString();
        }},
    {"--tls", "CERT KEY CA",
        "TCP inside TLS: own certificate and key (PEM),\n"
        "the authorities that sign the clients' certificates (PEM)",
        [](ParseState &state, const QString &, const QString &value) {
            const QStringList files = value.split(ValueSeparator);
            state.config->tls = SimConfig::Tls {files.at(0), files.at(1), files.at(2)};
            return QString();
        },
        nullptr, Layout::Row, 27, 3},

    {"--address", "A", "address of the single device (1..247, default 1)",
        [](ParseState &state, const QString &option, const QString &value) {
            if (!readInt(value, 1, 247, &state.defaults.address))
                return invalid(option, value, QStringLiteral("1 to 247"));
            state.addressGiven = true;
            return QString();
        },
        "Devices"},
    {"--device", "A[,version=V][,sn=N|silent|exception][,id=TEXT]",
        "one device per option (replaces the single device);\n"
        "id= takes the rest of the value, commas included",
        [](ParseState &state, const QString &, const QString &value) {
            state.deviceValues.append(value); // read once the defaults are known
            return QString();
        },
        nullptr, Layout::Below},
    {"--id-version", "V", "identification version 1..4 (10/12/14/16 bytes, default 1)",
        [](ParseState &state, const QString &option, const QString &value) {
            if (!readInt(value, 1, 4, &state.defaults.identificationVersion))
                return invalid(option, value, QStringLiteral("1 to 4"));
            return QString();
        }},
    {"--id-text", "TEXT", "identification text (default qelDevSim)",
        [](ParseState &state, const QString &, const QString &value) {
            state.defaults.identification = value.toLatin1();
            return QString();
        }},
    {"--sn", "N|silent|exception", "serial number (default 12345), or no answer to it",
        [](ParseState &state, const QString &option, const QString &value) {
            int number = 0;
            if (value == QLatin1String("silent"))
                state.defaults.serialNumberMode = DeviceProfile::SerialNumberMode::Silent;
            else if (value == QLatin1String("exception"))
                state.defaults.serialNumberMode = DeviceProfile::SerialNumberMode::Exception;
            else if (readInt(value, 0, 65535, &number))
                state.defaults.serialNumber = static_cast<quint16>(number);
            else
                return invalid(option, value, QStringLiteral("0 to 65535, silent or exception"));
            return QString();
        }},
    {"--id-object", "ID=TEXT",
        "identification object ID (0..255) for function 43/14;\n"
        "0 vendor name (default qel), 1 product code (qelDevSim), 2 revision (1.0)",
        [](ParseState &state, const QString &option, const QString &value) {
            const int equals = value.indexOf(QLatin1Char('='));
            int id = 0;
            if (equals < 0 || !readInt(value.left(equals), 0, 255, &id))
                return invalid(option, value, QStringLiteral("ID=TEXT, ID 0 to 255"));
            const QByteArray text = FileNames::toBytes(value.mid(equals + 1));
            if (text.size() > DeviceIdObjects::MaxValueLength)
                return invalid(option, value,
                    QStringLiteral("at most %1 bytes").arg(DeviceIdObjects::MaxValueLength));
            state.defaults.idObjects.set(id, text);
            return QString();
        },
        nullptr, Layout::Below},
    {"--answer-broadcast", nullptr, "the first device answers requests to address 0",
        [](ParseState &state, const QString &, const QString &) {
            state.config->answerBroadcast = true;
            return QString();
        }},
    {"--no-macros", nullptr, "register 0 is a plain holding register",
        [](ParseState &state, const QString &, const QString &) {
            state.config->macros = false;
            return QString();
        }},

    {"--holding", "ADDR=V1,V2,...", "initial holding registers (decimal, -32768.., 0x..)",
        [](ParseState &state, const QString &option, const QString &value) {
            return readRegisters(state, option, value, false);
        },
        "Registers"},
    {"--input", "ADDR=V1,V2,...", "initial input registers",
        [](ParseState &state, const QString &option, const QString &value) {
            return readRegisters(state, option, value, true);
        }},
    {"--holding-file", "[ADDR=]FILE", "holding image (16-bit words, low byte first)",
        [](ParseState &state, const QString &option, const QString &value) {
            return readRegisterFile(state, option, value, false);
        }},
    {"--input-file", "[ADDR=]FILE", "input image",
        [](ParseState &state, const QString &option, const QString &value) {
            return readRegisterFile(state, option, value, true);
        },
        nullptr, Layout::Row, 30},
    {"--demo", nullptr, "load the demo image first (see README)",
        [](ParseState &state, const QString &, const QString &) {
            state.config->demo = true;
            return QString();
        }},
    {"--dump-holding", "FILE", "keep FILE equal to the holding registers",
        [](ParseState &state, const QString &option, const QString &value) {
            return readFileName(option, value, &state.config->dumpHolding);
        }},
    {"--dump-input", "FILE", "write the input registers to FILE at start",
        [](ParseState &state, const QString &option, const QString &value) {
            return readFileName(option, value, &state.config->dumpInput);
        }},
    {"--count-holding", "ADDR[=STEP]", "holding ADDR steps by STEP (default 1) after each read",
        [](ParseState &state, const QString &option, const QString &value) {
            return readCounter(state, option, value, false);
        },
        nullptr, Layout::Row, 31},
    {"--count-input", "ADDR[=STEP]", "input ADDR steps likewise",
        [](ParseState &state, const QString &option, const QString &value) {
            return readCounter(state, option, value, true);
        },
        nullptr, Layout::Row, 31},

    {"--coils", "ADDR=BITS", "initial coils (1011 or 1,0,1,1)",
        [](ParseState &state, const QString &option, const QString &value) {
            return readBits(state, option, value, false);
        }},
    {"--discrete", "ADDR=BITS", "initial discrete inputs",
        [](ParseState &state, const QString &option, const QString &value) {
            return readBits(state, option, value, true);
        }},

    {"--device-info", "W,W,W", "GET_DEVICE_INFO (225) words (default 3,2,1)",
        [](ParseState &state, const QString &option, const QString &value) {
            return readWords(option, value, &state.config->answers.deviceInfo);
        },
        "Macro answers (function 0x41)"},
    {"--profile-name", "TEXT", "GET_PROFILE_HEADER (224) name (words 13-28)",
        [](ParseState &state, const QString &, const QString &value) {
            state.config->answers.profileName = value;
            return QString();
        }},
    {"--profile-desc", "TEXT", "description (words 29-44)",
        [](ParseState &state, const QString &, const QString &value) {
            state.config->answers.profileDescription = value;
            return QString();
        }},
    {"--profile-model", "TEXT", "model (words 5-12)",
        [](ParseState &state, const QString &, const QString &value) {
            state.config->answers.profileModel = value;
            return QString();
        }},
    {"--profile-version", "N", "word 2 (default 10)",
        [](ParseState &state, const QString &option, const QString &value) {
            return readProfileWord(option, value, &state.config->answers.profileVersion);
        }},
    {"--profile-size", "N", "word 3",
        [](ParseState &state, const QString &option, const QString &value) {
            return readProfileWord(option, value, &state.config->answers.profileSize);
        }},
    {"--profile-blocknet", "N", "word 45",
        [](ParseState &state, const QString &option, const QString &value) {
            return readProfileWord(option, value, &state.config->answers.profileBlocknet);
        }},
    {"--profile-program-crc", "N", "word 46",
        [](ParseState &state, const QString &option, const QString &value) {
            return readProfileWord(option, value, &state.config->answers.profileProgramCrc);
        }},
    {"--profile-header-crc", "N", "word 47",
        [](ParseState &state, const QString &option, const QString &value) {
            return readProfileWord(option, value, &state.config->answers.profileHeaderCrc);
        }},
    {"--device-key", "W,W", "GET_DEVICE_KEY (220) words",
        [](ParseState &state, const QString &option, const QString &value) {
            return readWords(option, value, &state.config->answers.deviceKey);
        }},
    {"--events-count", "W,W", "GET_EVENTS_COUNT (202) words",
        [](ParseState &state, const QString &option, const QString &value) {
            return readWords(option, value, &state.config->answers.eventsCount);
        }},
    {"--macro-answer", "CODE=W,...", "macro CODE answers exactly these words (may be empty)",
        [](ParseState &state, const QString &option, const QString &value) {
            int code = 0;
            QVector<quint16> words;
            const int equals = value.indexOf(QLatin1Char('='));
            if (equals < 0 || !readInt(value.left(equals), 0, 65535, &code)
                || !parseWords(value.mid(equals + 1), &words) || words.size() > 123)
                return invalid(option, value, QStringLiteral("CODE=W1,W2,... (at most 123 words)"));
            state.config->answers.overrides.insert(code, words);
            return QString();
        }},

    {"--log", "FILE", "every received frame as hex bytes, and every connection, one line each",
        [](ParseState &state, const QString &option, const QString &value) {
            return readFileName(option, value, &state.config->requestLog);
        },
        "Logs"},
    {"--macro-log", "FILE", "every accepted macro: KIND code=C spec=S params=P ...",
        [](ParseState &state, const QString &option, const QString &value) {
            return readFileName(option, value, &state.config->macroLog);
        }},
    {"--reply-log", "FILE", "line N: the bytes sent for the frame on line N of --log, or -",
        [](ParseState &state, const QString &option, const QString &value) {
            return readFileName(option, value, &state.config->replyLog);
        }},
    {"--tls-log", "FILE", "every TLS handshake: the client's role, or why it failed",
        [](ParseState &state, const QString &option, const QString &value) {
            return readFileName(option, value, &state.config->tlsLog);
        }},

    {"--fault", "KIND[=VALUE][,request=N][,function=F][,address=A]",
        "  exception=CODE  delay=MS  stall=MS  partial[=BYTES]  bad-crc  other-address=A\n"
        "  bad-transaction[=ID]  bad-protocol[=ID]  silent  drop  length[=DELTA]\n"
        "  bad-code-complement  bad-spec-complement  bad-count-complement\n"
        "  trickle=MS      first byte of the reply, then one byte every MS\n"
        "  bad-echo        5, 6, 15, 16: the echo's last byte off by one bit\n"
        "  more-follows    43/14: more follows, from the object after the one asked for\n"
        "  close           the reply, then the connection closed (TCP)\n"
        "  scopes: request=N  every=N (requests N, 2N, ...)  function=F  address=A",
        [](ParseState &state, const QString &option, const QString &value) {
            QString why;
            const std::optional<FaultRule> rule = FaultPlan::parseRule(value, &why);
            if (!rule)
                return invalid(option, value, why);
            state.config->faults.addRule(*rule);
            return QString();
        },
        "Faults (repeatable)", Layout::Listed},

    {"--exit-with-parent", nullptr, "end when the process that started it ends",
        [](ParseState &state, const QString &, const QString &) {
            state.config->exitWithParent = true;
            return QString();
        },
        "Other"},
    {"--help", nullptr, "this text",
        [](ParseState &state, const QString &, const QString &) {
            state.help = true;
            return QString();
        }},
};

const Option *findOption(const QString &name)
{
    for (const Option &option : optionTable) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

// The devices of the --device options on top of the defaults, or the single
// default device.
QString buildDevices(ParseState &state)
{
    SimConfig *config = state.config;
    if (state.deviceValues.isEmpty()) {
        config->devices.append(state.defaults);
        return QString();
    }
    if (state.addressGiven)
        return QStringLiteral("--address and --device exclude each other");
    for (const QString &value : qAsConst(state.deviceValues)) {
        DeviceProfile device = state.defaults;
        QString why;
        if (!parseDevice(value, &device, &why))
            return invalid(QStringLiteral("--device"), value, why);
        for (const DeviceProfile &other : qAsConst(config->devices)) {
            if (other.address == device.address)
                return invalid(
                    QStringLiteral("--device"), value, QStringLiteral("address given twice"));
        }
        config->devices.append(device);
    }
    return QString();
}

} // namespace

Result parse(const QStringList &arguments, SimConfig *config, QString *error)
{
    ParseState state;
    state.config = config;
    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        QString value;
        bool inlineValue = false;
        const int equals = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
            inlineValue = true;
        }
        const Option *option = findOption(name);
        if (!option) {
            *error = QStringLiteral("unknown option \"%1\"").arg(arguments.at(i));
            return Result::Error;
        }
        if (!option->value && inlineValue) {
            *error = QStringLiteral("%1 takes no value").arg(name);
            return Result::Error;
        }
        if (option->valueCount > 1 && inlineValue) {
            *error = QStringLiteral("%1 takes %2 values").arg(name).arg(option->valueCount);
            return Result::Error;
        }
        if (option->value && !inlineValue) {
            if (i + option->valueCount >= arguments.size()) {
                *error = option->valueCount > 1
                    ? QStringLiteral("%1 needs %2 values").arg(name).arg(option->valueCount)
                    : QStringLiteral("%1 needs a value").arg(name);
                return Result::Error;
            }
            value = arguments.mid(i + 1, option->valueCount).join(ValueSeparator);
            i += option->valueCount;
        }
        *error = option->handler(state, name, value);
        if (!error->isEmpty())
            return Result::Error;
        if (state.help)
            return Result::Help;
    }
    if (config->line == SimConfig::Line::Serial && config->serial.device.isEmpty()) {
        *error = QStringLiteral("--serial needs a device");
        return Result::Error;
    }
    if (config->tls.isOn() && config->line != SimConfig::Line::Tcp) {
        *error = QStringLiteral("--tls needs --tcp");
        return Result::Error;
    }
    if (config->tls.isOn() && config->framing != SimConfig::Framing::LineDefault) {
        *error = QStringLiteral("--tls carries MBAP frames: no --framing with it");
        return Result::Error;
    }
    *error = buildDevices(state);
    return error->isEmpty() ? Result::Run : Result::Error;
}

QString usage()
{
    QString text = QStringLiteral(
        "Usage: qelDevSim [options]\n"
        "A Modbus device simulator (RTU and TCP) for testing and demonstrating the qel tools.\n"
        "The first line of standard output names the line: \"host:port\" for TCP, the\n"
        "device path for RTU. SIGTERM or SIGINT end it.\n");
    for (const Option &option : optionTable) {
        QString synopsis = QLatin1String(option.name);
        if (option.value)
            synopsis += QLatin1Char(' ') + QLatin1String(option.value);
        const QStringList help = QString::fromLatin1(option.help).split(QLatin1Char('\n'));
        if (option.layout == Layout::Listed) {
            text += QStringLiteral("\n%1: %2\n").arg(QLatin1String(option.section), synopsis);
            for (const QString &line : help)
                text += line + QLatin1Char('\n');
            continue;
        }
        if (option.section)
            text += QStringLiteral("\n%1:\n").arg(QLatin1String(option.section));
        QString line = QStringLiteral("  ") + synopsis;
        const QString indent(option.column, QLatin1Char(' '));
        if (option.layout == Layout::Below)
            line += QLatin1Char('\n') + indent;
        else if (line.size() < option.column)
            line = line.leftJustified(option.column);
        else
            line += QStringLiteral("  ");
        text += line + help.join(QLatin1Char('\n') + indent) + QLatin1Char('\n');
    }
    return text;
}

} // namespace SimOptions
