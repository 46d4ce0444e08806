#!/usr/bin/python3
"""pymodbus at the other end of the register driver and the simulator, for the tests.

pymodbus_registers.py server tcp|rtu [DEVICE]
    A Modbus device at address 1, over TCP on 127.0.0.1 at a free port or
    RTU on DEVICE (115200 baud, 8N1): coil N is on when N is
    a multiple of 3, discrete input N (up to 64999) when N is a multiple of 5, holding
    register N holds N, input register N holds N + 7; identification
    objects 0 to 6 and, with 100 bytes each, 0x80 to 0x82 (more than one
    reply holds). Prints "ready PORT" (TCP) or "ready" once it listens, then one line per
    write: "set co START V1,V2,..." or "set hr START V1,V2,...".
pymodbus_registers.py client PORT
    Functions 1, 2, 5, 6, 15 and 43/14 against the device at PORT (unit 1),
    one line "what | result" per request.
pymodbus_registers.py encode PORT TYPE:ORDER:ADDRESS:VALUE ...
    Writes each value with pymodbus's payload builder in the byte and word
    order named (ABCD, BADC, CDAB, DCBA) to the holding registers from
    ADDRESS; TYPE is u32, s32, f32, u64, s64 or f64.
pymodbus_registers.py decode PORT TYPE:ORDER:ADDRESS ...
    Reads each value back with pymodbus's payload decoder and prints one
    line "TYPE:ORDER:ADDRESS VALUE" (Python's shortest text of the value).
"""
import asyncio
import logging
import sys

from pymodbus.client import ModbusTcpClient
from pymodbus.constants import Endian
from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.device import ModbusDeviceIdentification
from pymodbus.mei_message import ReadDeviceInformationRequest
from pymodbus.payload import BinaryPayloadBuilder, BinaryPayloadDecoder
from pymodbus.server import StartAsyncSerialServer, StartAsyncTcpServer
from pymodbus.transaction import ModbusRtuFramer

ORDERS = {"ABCD": (Endian.Big, Endian.Big), "BADC": (Endian.Little, Endian.Big),
          "CDAB": (Endian.Big, Endian.Little), "DCBA": (Endian.Little, Endian.Little)}
WIDTHS = {"u32": 2, "s32": 2, "f32": 2, "u64": 4, "s64": 4, "f64": 4}
TABLES = {5: "co", 15: "co", 6: "hr", 16: "hr"}


class LoggedStore(ModbusSlaveContext):
    """A device that says every write on standard output."""

    def setValues(self, fc_as_hex, address, values):
        print("set %s %d %s" % (TABLES.get(fc_as_hex, fc_as_hex), address,
                                ",".join(str(int(v)) for v in values)), flush=True)
        super().setValues(fc_as_hex, address, values)


async def serve(line, device):
    store = LoggedStore(
        co=ModbusSequentialDataBlock(0, [i % 3 == 0 for i in range(65536)]),
        di=ModbusSequentialDataBlock(0, [i % 5 == 0 for i in range(65000)]),
        hr=ModbusSequentialDataBlock(0, [i & 0xFFFF for i in range(65536)]),
        ir=ModbusSequentialDataBlock(0, [(i + 7) & 0xFFFF for i in range(65536)]),
        zero_mode=True)
    info = {0: "pymodbus", 1: "PM", 2: "3.0.0rc1", 3: "https://example.org", 4: "Peer",
            5: "Model 7", 6: "qel tests"}
    for oid in (0x80, 0x81, 0x82):
        info[oid] = ("%02X" % oid) * 50
    identity = ModbusDeviceIdentification(info=info)
    context = ModbusServerContext(slaves={1: store}, single=False)
    if line == "rtu":
        server = await StartAsyncSerialServer(
            context=context, identity=identity, framer=ModbusRtuFramer, port=device,
            baudrate=115200, bytesize=8, parity="N", stopbits=1, defer_start=True)
        await server.start()
        print("ready", flush=True)
        await server.serve_forever()
        return
    server = await StartAsyncTcpServer(
        context=context, identity=identity, address=("127.0.0.1", 0), defer_start=True)
    task = asyncio.create_task(server.serve_forever())
    while server.server is None:
        await asyncio.sleep(0.01)
    print("ready %d" % server.server.sockets[0].getsockname()[1], flush=True)
    await task


def connect(port):
    client = ModbusTcpClient("127.0.0.1", port=int(port), timeout=5)
    if not client.connect():
        print("no connection", flush=True)
        sys.exit(1)
    return client


def bits(values, count):
    return "".join("1" if bit else "0" for bit in values[:count])


def outcome(reply, answer):
    if reply.isError():
        return "exception %d" % reply.exception_code
    return answer(reply)


def objects(reply):
    return " ".join("%02X=%s" % (oid, value.decode("latin-1"))
                    for oid, value in sorted(reply.information.items()))


def run_client(port):
    client = connect(port)

    def identification(code, oid):
        return client.execute(ReadDeviceInformationRequest(read_code=code, object_id=oid, unit=1))

    def id_reply(reply):
        return "%s next %02X: %s" % ("more" if reply.more_follows else "last",
                                     reply.next_object_id, objects(reply))

    steps = [
        ("read coils 0 10", lambda: client.read_coils(0, 10, slave=1), lambda r: bits(r.bits, 10)),
        ("read discrete 2 3", lambda: client.read_discrete_inputs(2, 3, slave=1),
         lambda r: bits(r.bits, 3)),
        ("write coil 7 on", lambda: client.write_coil(7, True, slave=1), lambda r: "OK"),
        ("write coils 20 1968", lambda: client.write_coils(20, [True, False, True, True] * 492,
                                                            slave=1), lambda r: "OK %d" % r.count),
        ("write coils 20 1969", lambda: client.write_coils(20, [True] * 1969, slave=1),
         lambda r: "OK"),
        ("read coils 0 2000", lambda: client.read_coils(0, 2000, slave=1),
         lambda r: bits(r.bits, 30)),
        ("read coils 65535 1", lambda: client.read_coils(65535, 1, slave=1),
         lambda r: bits(r.bits, 1)),
        ("read coils 65535 2", lambda: client.read_coils(65535, 2, slave=1), lambda r: "read"),
        ("read coils 0 2001", lambda: client.read_coils(0, 2001, slave=1), lambda r: "read"),
        ("write register 9", lambda: client.write_register(9, 0xABCD, slave=1), lambda r: "OK"),
        ("read register 9", lambda: client.read_holding_registers(9, 1, slave=1),
         lambda r: "%04X" % r.registers[0]),
        ("identification basic", lambda: identification(1, 0), id_reply),
        ("identification regular", lambda: identification(2, 0), id_reply),
        ("identification extended", lambda: identification(3, 0), id_reply),
        ("identification object 0x80", lambda: identification(4, 0x80), id_reply),
        ("identification object 0x81", lambda: identification(4, 0x81), id_reply),
    ]
    for name, request, answer in steps:
        print("%s | %s" % (name, outcome(request(), answer)), flush=True)
    client.close()
    return 0


def encode(port, items):
    client = connect(port)
    for item in items:
        kind, order, address, value = item.split(":")
        builder = BinaryPayloadBuilder(byteorder=ORDERS[order][0], wordorder=ORDERS[order][1])
        add = getattr(builder, "add_%sbit_%s" % (kind[1:], {"u": "uint", "s": "int", "f": "float"}[kind[0]]))
        add(float(value) if kind[0] == "f" else int(value))
        reply = client.write_registers(int(address), builder.to_registers(), slave=1)
        if reply.isError():
            print("%s exception %d" % (item, reply.exception_code), flush=True)
            return 1
    client.close()
    print("done", flush=True)
    return 0


def decode(port, items):
    client = connect(port)
    for item in items:
        kind, order, address = item.split(":")
        reply = client.read_holding_registers(int(address), WIDTHS[kind], slave=1)
        if reply.isError():
            print("%s exception %d" % (item, reply.exception_code), flush=True)
            continue
        decoder = BinaryPayloadDecoder.fromRegisters(
            reply.registers, byteorder=ORDERS[order][0], wordorder=ORDERS[order][1])
        value = getattr(decoder, "decode_%sbit_%s" % (kind[1:], {"u": "uint", "s": "int", "f": "float"}[kind[0]]))()
        print("%s %r" % (item, value), flush=True)
    client.close()
    return 0


def main():
    logging.basicConfig(level=logging.CRITICAL)
    mode = sys.argv[1]
    if mode == "server":
        asyncio.run(serve(sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else None))
        return 0
    if mode == "client":
        return run_client(sys.argv[2])
    if mode == "encode":
        return encode(sys.argv[2], sys.argv[3:])
    return decode(sys.argv[2], sys.argv[3:])


if __name__ == "__main__":
    sys.exit(main())
