#pragma once

#include <QString>
#include <QVector>
#include <optional>

// Faults to inject into replies, chosen on the command line.
//
// A rule reads
// "KIND[=VALUE][,request=N][,every=N][,function=F][,address=A]": it applies
// to every request, or only to the Nth request the simulator handles (counted
// from 1 over the whole run), only to every Nth one (N, 2N, 3N, ...), only to
// one function code, only to one device address, or to a combination of these.
enum class FaultKind {
    Exception, // exception reply with code VALUE instead of carrying the request out
    Delay, // VALUE ms of silence before the reply
    Stall, // first half of the reply, VALUE ms of silence, then the rest
    Partial, // only the first VALUE bytes of the reply (default half), then nothing
    BadCrc, // RTU: the CRC bytes inverted
    OtherAddress, // reply under address (TCP: unit identifier) VALUE
    BadTransaction, // TCP: transaction identifier VALUE (default: the request's minus 1)
    BadProtocol, // TCP: protocol identifier VALUE (default 1)
    Silent, // no reply; the request is not carried out
    Drop, // TCP: connection closed instead of a reply; RTU: as Silent
    Length, // VALUE bytes more (fewer when negative) in the reply, byte count to match
    BadCodeComplement, // 0x41 replies: complement of the macro code damaged
    BadSpecComplement, // 0x41 replies: complement of the specification damaged
    BadCountComplement, // 0x41 replies: complement of the word count damaged
    Trickle, // first byte of the reply at once, then one byte every VALUE ms
    BadEcho, // 5, 6, 15, 16 replies: the last byte of the echo off by one bit
    MoreFollows, // 43/14 replies: more follows, from the object after the one asked for
    Close, // TCP: the reply goes out, then the connection is closed
};

struct FaultRule
{
    FaultKind kind = FaultKind::Silent;
    int value = 0;
    bool hasValue = false; // false: the kind's default
    int request = 0; // 0: any request
    int every = 0; // 0: any request; N: requests N, 2N, 3N, ...
    int function = -1; // -1: any function
    int address = -1; // -1: any device
};

// The faults that apply to one request, merged from every matching rule.
struct ActiveFaults
{
    int exceptionCode = -1;
    int delayMs = 0;
    int stallMs = -1;
    int partialBytes = -2; // -2: none, -1: half of the reply
    bool badCrc = false;
    int otherAddress = -1;
    int transaction = -2; // -2: none, -1: request's minus 1
    int protocol = -1;
    bool silent = false;
    bool drop = false;
    int lengthDelta = 0;
    bool badCodeComplement = false;
    bool badSpecComplement = false;
    bool badCountComplement = false;
    int trickleMs = -1; // -1: the reply goes out whole
    bool badEcho = false;
    bool moreFollows = false;
    bool close = false; // close the connection once the reply has gone out
};

class FaultPlan
{
public:
    // Reads one rule; on failure returns nothing and sets *error.
    static std::optional<FaultRule> parseRule(const QString &text, QString *error);

    void addRule(const FaultRule &rule) { rules.append(rule); }
    bool isEmpty() const { return rules.isEmpty(); }
    ActiveFaults select(int requestNumber, int function, int address) const;

private:
    QVector<FaultRule> rules;
};
