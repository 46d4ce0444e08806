#pragma once

#include <cstdint>
#include <memory>
#include <string>

// The Modbus master engine: one context per connection (serial RTU line or TCP),
// requests built in fixed buffers, replies received in three phases within the
// response and byte time-outs (2 s each) and checked against their request.
// The engine never retries, reconnects or flushes on its own: what to do
// after a failure is the caller's choice.
//
// Every operation returns -1 (creation: null) on failure and leaves the error
// code in errno: the platform's own numbers (ETIMEDOUT, ECONNREFUSED, ...) or
// the engine's codes below. errorText() gives the text of either.
// Diagnostics and the byte trace are printed only in debug mode, except the
// messages of a refused context creation and the input-register limit
// message, which are always printed on standard error.

struct ModbusContext;

namespace Modbus {

constexpr int ErrorBase = 0x6B2424E;

// Engine error codes. Offsets 1 to 11 are the Modbus exception codes.
enum Error : int {
    IllegalFunction = ErrorBase + 1,
    IllegalDataAddress = ErrorBase + 2,
    IllegalDataValue = ErrorBase + 3,
    SlaveDeviceFailure = ErrorBase + 4,
    Acknowledge = ErrorBase + 5,
    SlaveDeviceBusy = ErrorBase + 6,
    NegativeAcknowledge = ErrorBase + 7,
    MemoryParityError = ErrorBase + 8,
    GatewayPathUnavailable = ErrorBase + 10,
    TargetFailedToRespond = ErrorBase + 11,
    InvalidCrc = ErrorBase + 12,
    InvalidData = ErrorBase + 13,
    InvalidExceptionCode = ErrorBase + 14,
    TooManyData = ErrorBase + 16,
    ResponseNotFromRequestedSlave = ErrorBase + 17,
    InvalidLrc = ErrorBase + 18,
    InvalidAsciiFrame = ErrorBase + 19, // bad hex, no CR LF, a length the frame does not have
    NotRegularFile = ErrorBase + 20, // a certificate or key that is a FIFO, a device, ...
};

constexpr int MaxReadRegisters = 125;
constexpr int MaxWriteRegisters = 123;
constexpr int MaxReadBits = 2000;
constexpr int MaxWriteBits = 1968;
constexpr int MaxMacroParameters = 117;
constexpr int MacroResultWords = 256; // size of the caller's result area of readMacro

// Serial line. The device name "\\.\NAME" opens /dev/NAME; any other name is
// opened as given. An empty name, a baud rate of 0 or a parity other than
// 'N', 'E', 'O' fails with EINVAL. The device address starts unset (-1): no
// request goes out (EINVAL) until the caller sets one.
ModbusContext *newRtuContext(
    const char *device, int baudRate, char parity, int dataBits, int stopBits);
// The group whose members may open a serial device (named as for
// newRtuContext): the group that owns the device file, when the file's mode
// lets that group read and write it and it is not the superuser's group.
// Empty when there is no such group or the file cannot be examined.
std::string serialAccessGroup(const char *device);
// TCP line to a dotted IPv4 address (at most 15 characters) and port
// (0 to 65535; anything else fails with EINVAL). The device address (unit
// identifier) starts at 255.
ModbusContext *newTcpContext(const char *ipAddress, int port);
// RTU frames (address, PDU, CRC) on a TCP stream, as serial-to-Ethernet
// gateways pass them on. The device address is the RTU address (0 to 247,
// 0 broadcast) and starts unset, as on the serial line.
ModbusContext *newRtuTcpContext(const char *ipAddress, int port);
// Modbus ASCII (':', the address, PDU and LRC in hexadecimal, CR LF) on a
// serial line, named and set up as for newRtuContext, and on TCP. The
// device address is as on the serial line. A reply with bad hexadecimal,
// without CR LF where its length ends or ending before it fails with
// InvalidAsciiFrame, one whose LRC is wrong with InvalidLrc.
ModbusContext *newAsciiContext(
    const char *device, int baudRate, char parity, int dataBits, int stopBits);
ModbusContext *newAsciiTcpContext(const char *ipAddress, int port);

// PEM files of a TLS client: its certificate (any intermediate
// certificates after it), its private key (not encrypted) and the
// certificates of the authorities a server's certificate must chain to.
struct TlsFiles
{
    std::string certificate;
    std::string privateKey;
    std::string authorities;
};
// MBAP frames inside TLS 1.2 or 1.3 (Modbus/TCP Security). Connecting reads
// the files, connects and completes the handshake within the response
// time-out; the server must present a certificate that chains to one of the
// authorities. There is no fall-back to plain TCP. A failure of the library
// has its own error code whose text is the library's ("certificate verify
// failed: certificate has expired", "tlsv13 alert certificate required").
// The device address (unit identifier) starts at 255.
ModbusContext *newTlsContext(const char *ipAddress, int port, const TlsFiles &files);

// Frees the line data and the context; null is accepted.
void freeContext(ModbusContext *context);

struct ContextDeleter
{
    void operator()(ModbusContext *context) const { freeContext(context); }
};
using ContextPtr = std::unique_ptr<ModbusContext, ContextDeleter>;

// Serial: 0 to 247; TCP: 0 to 247 and 255; anything else fails with EINVAL.
int setAddress(ModbusContext *context, int address);
int address(const ModbusContext *context);
void setDebug(ModbusContext *context, bool on);

// Limit for the first byte of a reply and for connecting, in milliseconds
// (2000 unless set); below 1 fails with EINVAL.
int setResponseTimeout(ModbusContext *context, int milliseconds);
// A descriptor (borrowed) that ends every wait of the context at once, with
// ECANCELED, as soon as it is readable: the way to stop a request under way,
// for instance from a signal handler that writes to a pipe. -1: none.
void setCancelDescriptor(ModbusContext *context, int descriptor);

int connect(ModbusContext *context);
void close(ModbusContext *context);

// The longest one connect and one request of a context may take before the
// engine gives up: each line bounds its connect, a TLS handshake and its
// send by the response time-out, and a reply by the response time-out and
// the line's allowance for its largest frame at the line's speed. A program
// that watches a driver from outside waits longer than this, so that the
// driver's own cause always comes first.
int requestLimitMs(const ModbusContext *context);

// How the last request of a context ended when it failed with ETIMEDOUT:
// no byte of the reply came within the response time-out, or the reply
// stopped before its end. Nothing else leaves a mark here.
struct ReplyTimeout
{
    enum Kind { None, NoReply, Incomplete };
    Kind kind = None;
    // NoReply: the response time-out waited for the first byte; Incomplete:
    // the time from the request sent to the end of the wait.
    int milliseconds = 0;
};
ReplyTimeout lastReplyTimeout(const ModbusContext *context);
// Whether the line carries the context's requests in step: true after
// connecting and after an exchange that ended with its whole reply (the
// answer, or the device's exception); false after one whose reply timed
// out, came damaged, cut short or stale, or whose connection failed, since
// the rest of that reply, or a late one, may still come.
bool lineInStep(const ModbusContext *context);
// Whether the line can still carry a request, as far as can be told without
// sending anything: false once it is closed, the peer of a network line has
// closed the connection, or a serial device has gone away.
bool lineStillOpen(ModbusContext *context);
// Drops pending input; returns the number of bytes discarded or -1.
int flush(ModbusContext *context);

// Function 3 / 4: at most 125 registers; returns the number of words read.
int readHoldingRegisters(ModbusContext *context, int start, int count, uint16_t *words);
int readInputRegisters(ModbusContext *context, int start, int count, uint16_t *words);
// Function 16: at most 123 registers; returns the number of words written.
// The reply must repeat the start and the quantity.
int writeRegisters(ModbusContext *context, int start, int count, const uint16_t *words);
// Function 6: one register. The reply must repeat the request, register and
// value; returns 1.
int writeRegister(ModbusContext *context, int address, uint16_t value);

// Function 1 / 2: at most 2000 coils or discrete inputs; bits[i] gets 0 or 1
// for the bit at start + i. Returns the number of bits read.
int readCoils(ModbusContext *context, int start, int count, uint8_t *bits);
int readDiscreteInputs(ModbusContext *context, int start, int count, uint8_t *bits);
// Function 5: one coil on (sent as 0xFF00) or off (0x0000). The reply must
// repeat the request; returns 1.
int writeCoil(ModbusContext *context, int address, bool on);
// Function 15: at most 1968 coils from start, bits[i] non-zero for on. The
// reply must repeat the start and the quantity; returns the number written.
int writeCoils(ModbusContext *context, int start, int count, const uint8_t *bits);

// Read codes of the device identification (function 43, MEI type 14): the
// basic, regular or extended objects from an object on (stream access), or
// one object alone.
enum DeviceIdCode : int {
    DeviceIdBasic = 1,
    DeviceIdRegular = 2,
    DeviceIdExtended = 3,
    DeviceIdIndividual = 4,
};

// One reply of a device identification: its objects (their values side by
// side in values) and whether more follow from nextObjectId on.
struct DeviceIdReply
{
    struct Object
    {
        int id;
        int length;
        int offset; // of the value in values
    };
    static constexpr int MaxObjects = 126; // each takes two bytes at least

    int conformityLevel = 0;
    bool moreFollows = false;
    int nextObjectId = 0;
    int objectCount = 0;
    Object objects[MaxObjects];
    uint8_t values[256];
};

// Function 43, MEI type 14: one request for the objects of readCode from
// objectId (0 to 255). The reply must repeat the MEI type and the read code;
// when more follows, its next object must lie beyond objectId, so a caller
// that follows it always comes to an end; for DeviceIdIndividual it holds
// just the object asked for. Returns the number of objects.
int readDeviceIdentification(
    ModbusContext *context, int readCode, int objectId, DeviceIdReply *reply);

// Macro written as function 16 at register 0 (payload with complement checks);
// at most 117 parameter words. Only the low byte of specification is sent.
// Returns count + 4.
int writeMacro(ModbusContext *context, uint16_t code, int specification, int count,
    const uint16_t *parameters);
// Macro read with the vendor function 0x41; result holds MacroResultWords words.
// Returns the number of result words.
int readMacro(ModbusContext *context, uint16_t code, int specification, int count,
    const uint16_t *parameters, uint16_t *result);
// Identification, function 0x11, reply of N = 10, 12, 14 or 16 data bytes for
// version 1 to 4 (the version is kept in the context). Any other version makes
// every reply fail the length check (InvalidData).
// Byte layout: each pair of reply data bytes (high, low) is stored as a
// little-endian 16-bit word, so in the buffer the two bytes of every pair come
// out swapped: reply data "ABCD" gives buffer "BADC". A zero byte follows the
// N bytes. A buffer of fewer than N + 1 bytes fails with EINVAL before
// anything is sent. Returns N.
int readIdentification(ModbusContext *context, int bufferSize, uint8_t *buffer, int version);

// Text of an engine or platform error code.
const char *errorText(int code);

} // namespace Modbus
