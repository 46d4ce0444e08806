#!/usr/bin/python3
"""pymodbus at the far end of the tool set's lines, for the tests.

pymodbus_lines.py server KIND [DEVICE] [CERT KEY CA]
    A device on KIND: mbap, rtu-tcp, ascii-tcp or tls on 127.0.0.1 at a free port,
    ascii-serial on DEVICE (115200 baud, 8N1: a pseudo-terminal keeps no
    other byte size, and pyserial refuses to open one again once asked). Holding register N holds N,
    input register N holds N + 7. Prints "ready PORT" (TCP) or "ready" once
    it listens, then one line per access of the registers:
    "get hr START COUNT" or "set hr START V1,V2,...".
pymodbus_lines.py client KIND TARGET [CERT KEY CA]
    Writes and reads back typed values and a range of 300 registers at
    address 1 of the device at TARGET (a TCP port, or a serial device) and
    prints one line "what | result" per request.
"""
import asyncio
import logging
import ssl
import struct
import sys

from pymodbus.client import AsyncModbusTlsClient, ModbusSerialClient, ModbusTcpClient
from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.server import (StartAsyncSerialServer, StartAsyncTcpServer,
                             StartAsyncTlsServer)
from pymodbus.transaction import (ModbusAsciiFramer, ModbusRtuFramer,
                                  ModbusSocketFramer)

FRAMERS = {"mbap": ModbusSocketFramer, "rtu-tcp": ModbusRtuFramer, "ascii-tcp": ModbusAsciiFramer,
           "ascii-serial": ModbusAsciiFramer, "tls": ModbusSocketFramer}
SERIAL = {"baudrate": 115200, "bytesize": 8, "parity": "N", "stopbits": 1}
TABLES = {3: "hr", 4: "ir", 6: "hr", 16: "hr"}


class LoggedStore(ModbusSlaveContext):
    """Registers that say every access on standard output."""

    def getValues(self, fc_as_hex, address, count=1):
        print("get %s %d %d" % (TABLES.get(fc_as_hex, fc_as_hex), address, count), flush=True)
        return super().getValues(fc_as_hex, address, count)

    def setValues(self, fc_as_hex, address, values):
        print("set %s %d %s" % (TABLES.get(fc_as_hex, fc_as_hex), address,
                                ",".join(str(v) for v in values)), flush=True)
        super().setValues(fc_as_hex, address, values)


def tls_context(purpose, cert, key, ca):
    context = ssl.SSLContext(purpose)
    context.minimum_version = ssl.TLSVersion.TLSv1_2
    context.check_hostname = False
    context.verify_mode = ssl.CERT_REQUIRED
    context.load_verify_locations(ca)
    if cert:
        context.load_cert_chain(cert, key)
    return context


async def serve(kind, rest):
    store = LoggedStore(hr=ModbusSequentialDataBlock(0, [i & 0xFFFF for i in range(65536)]),
                        ir=ModbusSequentialDataBlock(0, [(i + 7) & 0xFFFF for i in range(65536)]),
                        zero_mode=True)
    context = ModbusServerContext(slaves=store, single=True)
    framer = FRAMERS[kind]
    if kind == "ascii-serial":
        server = await StartAsyncSerialServer(context=context, framer=framer, port=rest[0],
                                              defer_start=True, **SERIAL)
        await server.start()
        print("ready", flush=True)
        await server.serve_forever()
        return
    if kind == "tls":
        server = await StartAsyncTlsServer(
            context=context, address=("127.0.0.1", 0), framer=framer, defer_start=True,
            sslctx=tls_context(ssl.PROTOCOL_TLS_SERVER, *rest[0:3]))
    else:
        server = await StartAsyncTcpServer(context=context, address=("127.0.0.1", 0),
                                           framer=framer, defer_start=True)
    task = asyncio.create_task(server.serve_forever())
    await server.serving
    print("ready %d" % server.server.sockets[0].getsockname()[1], flush=True)
    await task


def words_of(value, form):
    """The registers of a 32-bit value, low-order word first."""
    low, high = struct.unpack("<HH", struct.pack("<" + form, value))
    return [low, high]


def value_of(registers, form):
    return struct.unpack("<" + form, struct.pack("<HH", registers[0], registers[1]))[0]


def run_client(kind, rest):
    framer = FRAMERS[kind]
    if kind == "ascii-serial":
        client = ModbusSerialClient(port=rest[0], framer=framer, timeout=3, **SERIAL)
    elif kind == "tls":
        # Its asynchronous client: the other one waits on the socket for the
        # rest of a record that TLS already took in, and gives up.
        client = AsyncModbusTlsClient("127.0.0.1", port=int(rest[0]), framer=framer, timeout=3,
                                      sslctx=tls_context(ssl.PROTOCOL_TLS_CLIENT, *rest[1:4]))
    else:
        client = ModbusTcpClient("127.0.0.1", port=int(rest[0]), framer=framer, timeout=3)
    loop = asyncio.new_event_loop()

    def done(result):
        return loop.run_until_complete(result) if asyncio.iscoroutine(result) else result

    if not done(client.connect()) or (kind == "tls" and not client.protocol):
        print("no connection", flush=True)
        return 1

    def call(name, *arguments):
        return done(getattr(client, name)(*arguments, slave=1))

    def registers(reply):
        if reply.isError():
            return "exception %s" % getattr(reply, "exception_code", reply)
        return reply.registers

    def step(name, request, show):
        try:
            print("%s | %s" % (name, show(request())), flush=True)
        except Exception as error:  # the line said why; the test reads it
            print("%s | failed: %s" % (name, error), flush=True)

    ok = lambda reply: "exception %s" % getattr(reply, "exception_code", reply) \
        if reply.isError() else "OK"
    step("write f32", lambda: call("write_registers", 2000, words_of(3.5, "f")), ok)
    step("read f32", lambda: call("read_holding_registers", 2000, 2),
         lambda r: value_of(registers(r), "f"))
    step("write s32", lambda: call("write_registers", 2002, words_of(-123456789, "i")), ok)
    step("read s32", lambda: call("read_holding_registers", 2002, 2),
         lambda r: value_of(registers(r), "i"))
    for start in (1000, 1100, 1200):
        values = [(3 * i + 1) & 0xFFFF for i in range(start, start + 100)]
        step("write range %d" % start, lambda: call("write_registers", start, values), ok)

    def read_range():
        total = []
        for start in (1000, 1100, 1200):
            reply = call("read_holding_registers", start, 100)
            total += registers(reply) if not reply.isError() else []
        return total

    step("read range", read_range, lambda total: "%d registers, %s" % (
        len(total), "as written" if total == [(3 * i + 1) & 0xFFFF for i in range(1000, 1300)]
        else "not as written"))
    step("read input", lambda: call("read_input_registers", 0, 2), registers)
    step("exception", lambda: call("read_holding_registers", 65535, 2), registers)
    done(client.close())
    loop.close()
    return 0


def main():
    logging.basicConfig(level=logging.CRITICAL)
    mode, kind, rest = sys.argv[1], sys.argv[2], sys.argv[3:]
    if mode == "server":
        asyncio.run(serve(kind, rest))
        return 0
    return run_client(kind, rest)


if __name__ == "__main__":
    sys.exit(main())
