#!/usr/bin/python3
"""pymodbus_reads.py PORT COUNT: COUNT reads of holding register 0 at
127.0.0.1:PORT (unit 255) with pymodbus's TCP client over one connection, as
a serving qelDrvModbus --read_u16 0 does them; prints the milliseconds the
reads took, connecting not included, and exits with 0 when every read was
answered."""
import logging
import sys
import time

from pymodbus.client import ModbusTcpClient


def main():
    logging.basicConfig(level=logging.CRITICAL)
    port, count = int(sys.argv[1]), int(sys.argv[2])
    client = ModbusTcpClient("127.0.0.1", port=port, timeout=3)
    if not client.connect():
        return 1
    start = time.perf_counter()
    for _ in range(count):
        reply = client.read_holding_registers(0, 1, slave=255)
        if reply.isError():
            return 1
    elapsed = (time.perf_counter() - start) * 1000
    client.close()
    print("%.3f" % elapsed)
    return 0


if __name__ == "__main__":
    sys.exit(main())
