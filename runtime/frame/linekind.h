#pragma once

// The line a command line connects over: one of the engine's lines, chosen
// by "--ip", "--framing" and "--tls".
enum class LineKind {
    Serial, // RTU on a serial line
    Tcp, // MBAP over TCP ("--ip")
    SerialAscii, // ASCII on a serial line ("--framing ASCII")
    TcpRtu, // RTU frames through a gateway ("--ip" and "--framing RTU")
    TcpAscii, // ASCII frames through a gateway ("--ip" and "--framing ASCII")
    Tls, // MBAP inside TLS ("--tls")
};

// Whether the line reaches its device over the network: "--port" is then a
// TCP port and the serial line's settings are not used.
constexpr bool overNetwork(LineKind line)
{
    return line == LineKind::Tcp || line == LineKind::TcpRtu || line == LineKind::TcpAscii
        || line == LineKind::Tls;
}

// Whether the device address is an MBAP unit identifier, which takes 255 for
// any unit besides the serial addresses 0 to 247.
constexpr bool takesAnyUnit(LineKind line)
{
    return line == LineKind::Tcp || line == LineKind::Tls;
}
