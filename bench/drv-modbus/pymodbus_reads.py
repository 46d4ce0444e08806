#!/usr/bin/python3
"""pymodbus's side of bench_bitsregisters: reads 65535 coils (requests of 2000)
and 65535 holding registers (requests of 125) from the device at
127.0.0.1:PORT, unit 1, and prints "coils MS CPU" and "registers MS CPU": the
elapsed and the processor time of the reads alone, from the connected client
to the last reply, in milliseconds."""
import logging
import sys
import time

from pymodbus.client import ModbusTcpClient


def timed_reads(read, most):
    start = time.perf_counter()
    processor = time.process_time()
    for first in range(0, 65535, most):
        count = min(most, 65535 - first)
        reply = read(first, count, slave=1)
        if reply.isError():
            raise SystemExit("exception %d at %d" % (reply.exception_code, first))
        if len(reply.bits if hasattr(reply, "bits") else reply.registers) < count:
            raise SystemExit("short reply at %d" % first)
    return ((time.perf_counter() - start) * 1000,
            (time.process_time() - processor) * 1000)


def main():
    logging.basicConfig(level=logging.CRITICAL)
    client = ModbusTcpClient("127.0.0.1", port=int(sys.argv[1]), timeout=5)
    if not client.connect():
        raise SystemExit("no connection")
    coils = timed_reads(client.read_coils, 2000)
    registers = timed_reads(client.read_holding_registers, 125)
    client.close()
    print("coils %.3f %.3f" % coils)
    print("registers %.3f %.3f" % registers)
    return 0


if __name__ == "__main__":
    sys.exit(main())
