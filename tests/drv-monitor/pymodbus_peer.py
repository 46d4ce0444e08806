#!/usr/bin/python3
"""pymodbus as both ends of a serial line, for the monitor's tests.

pymodbus_peer.py server PORT rtu|ascii
    A device at address 1 on PORT; prints "ready" once it listens.
pymodbus_peer.py client PORT rtu|ascii
    Runs a fixed list of requests against address 1 and prints, for each,
    one line "FUNCTION | what was asked | what came back".
"""
import asyncio
import logging
import sys

from pymodbus.client import ModbusSerialClient
from pymodbus.datastore import (ModbusSequentialDataBlock, ModbusServerContext,
                                ModbusSlaveContext)
from pymodbus.device import ModbusDeviceIdentification
from pymodbus.mei_message import ReadDeviceInformationRequest
from pymodbus.other_message import ReportSlaveIdRequest
from pymodbus.server import StartAsyncSerialServer
from pymodbus.transaction import ModbusAsciiFramer, ModbusRtuFramer

FRAMERS = {"rtu": ModbusRtuFramer, "ascii": ModbusAsciiFramer}
BAUD = 115200


def store():
    # zero_mode: register N of a request is at N in its block.
    return ModbusSlaveContext(
        co=ModbusSequentialDataBlock(0, [True, False, True, True, False, False, True, False] * 4),
        di=ModbusSequentialDataBlock(0, [False, True, True] + [False] * 29),
        hr=ModbusSequentialDataBlock(0, list(range(1000, 1300))),
        ir=ModbusSequentialDataBlock(0, [7, 8, 9] + [0] * 29),
        zero_mode=True,
    )


async def serve(port, framer):
    identity = ModbusDeviceIdentification(
        info_name={"VendorName": "qel", "ProductCode": "PM", "MajorMinorRevision": "3.0"})
    server = await StartAsyncSerialServer(
        context=ModbusServerContext(slaves={1: store()}, single=False),
        identity=identity, framer=FRAMERS[framer], port=port, baudrate=BAUD,
        defer_start=True)
    await server.start()
    print("ready", flush=True)
    await server.serve_forever()


def run_client(port, framer):
    client = ModbusSerialClient(port=port, framer=FRAMERS[framer], baudrate=BAUD, timeout=3)
    if not client.connect():
        print("no connection", flush=True)
        return 1

    def bits(values, count):
        return " ".join("1" if bit else "0" for bit in values[:count])

    steps = [
        ("Read Coils", "start 0 count 10", lambda: client.read_coils(0, 10, slave=1),
         lambda r: bits(r.bits, 10)),
        ("Read Discrete Inputs", "start 0 count 3", lambda: client.read_discrete_inputs(0, 3, slave=1),
         lambda r: bits(r.bits, 3)),
        ("Read Holding Registers", "start 100 count 3",
         lambda: client.read_holding_registers(100, 3, slave=1),
         lambda r: " ".join(str(v) for v in r.registers)),
        ("Read Input Registers", "start 0 count 2", lambda: client.read_input_registers(0, 2, slave=1),
         lambda r: " ".join(str(v) for v in r.registers)),
        ("Write Single Coil", "coil 7 value 1", lambda: client.write_coil(7, True, slave=1),
         lambda r: "OK"),
        ("Write Single Register", "register 1 value 5", lambda: client.write_register(1, 5, slave=1),
         lambda r: "OK"),
        ("Write Multiple Coils", "start 0 count 3 values 1 0 1",
         lambda: client.write_coils(0, [True, False, True], slave=1), lambda r: "OK"),
        ("Write Multiple Registers", "start 200 count 2 values 5 6",
         lambda: client.write_registers(200, [5, 6], slave=1), lambda r: "OK"),
        ("Read Holding Registers", "start 100 count 3",
         lambda: client.read_holding_registers(100, 3, slave=1),
         lambda r: " ".join(str(v) for v in r.registers)),
        ("Read Holding Registers", "start 5000 count 2",
         lambda: client.read_holding_registers(5000, 2, slave=1),
         lambda r: "exception %d" % r.exception_code),
        ("Report Server ID", "",
         lambda: client.execute(ReportSlaveIdRequest(unit=1)),
         lambda r: " ".join("%02X" % b for b in r.identifier)),
        ("Read Device Identification", "code 1 object 0",
         lambda: client.execute(ReadDeviceInformationRequest(read_code=1, object_id=0, unit=1)),
         lambda r: " ".join('%d="%s"' % (k, v.decode("latin-1"))
                            for k, v in sorted(r.information.items()))),
    ]
    for name, asked, request, answer in steps:
        reply = request()
        print("%s | %s | %s" % (name, asked, answer(reply)), flush=True)
    client.close()
    return 0


def main():
    logging.basicConfig(level=logging.CRITICAL)
    mode, port, framer = sys.argv[1:4]
    if mode == "server":
        asyncio.run(serve(port, framer))
        return 0
    return run_client(port, framer)


if __name__ == "__main__":
    sys.exit(main())
